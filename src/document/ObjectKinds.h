#pragma once

// Registers the factory of every object class with the model's object creation. Called by every
// document as it is made; later calls do nothing.
void RegisterObjectKinds();
