// The main of the core's test programs: objects read outside a document (a symbol record parsed
// on its own) need the object kinds registered as a document registers them.
#include <gtest/gtest.h>

#include "document/ObjectKinds.h"

int main(int argc, char** argv) {
    RegisterObjectKinds();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
