#pragma once
// Revision clouds: the chain of bulging arcs drawn along the corner points of a cloud poly-line.
// Only the corners are stored in a drawing; the arcs are derived from them alone, so the same
// outline always gives the same cloud.
#include "render/Arcs.h"
#include "render/PointLists.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

// Why a cloud could not be built. The poly-line then keeps its straight outline.
class ERevisionCloud : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TCircle {
    double X = 0;
    double Y = 0;
    double Radius = 0;
};

// One segment of the path with the circles of its two corners.
struct TCircleLine {
    TXYPoint StartPt;
    TCircle StartCircle;
    TXYPoint EndPt;
    TCircle EndCircle;
};

class TRevisionCloudGenerator {
public:
    // Inset of the outline towards its centroid, and the offset of a straight path.
    static constexpr double Inset = 30;
    static constexpr double StraightPathOffset = 20;
    // More added circles than this end a segment.
    static constexpr int MaxCirclesPerSegment = 400;
    // A cloud needing more circles than this is not built: its outline is drawn straight. The
    // work and the arcs kept stay in proportion to a cloud around the largest sheets, whatever
    // the file holds; such an outline is no useful cloud anyway.
    static constexpr size_t MaxCircles = 100000;

    // Replaces Arcs by the cloud along the points; false, with no arcs, when none could be built.
    // The seed comes from the points relative to the first one, so moving the outline moves the
    // cloud with it unchanged.
    static bool GenerateCloudArcs(const TPointList& ptList, TArcList& arcs);

    // Builds the cloud of the points with the given seed. Throws ERevisionCloud.
    void Generate(const std::vector<TXYPoint>& points, TArcList& arcs, int32_t randSeed);
    // The same with a random seed below 4095.
    void Generate(const std::vector<TXYPoint>& points, TArcList& arcs);

    // A whole number in [a, b) drawn from the seed: a when a = b. The seed never advances, so
    // within one generation equal arguments give equal results.
    int32_t Rand(int32_t a, int32_t b);

    int32_t fRandSeed = 0;
    bool fRandSeedSet = false;
    bool fDirectionCCW = false;
    bool fClosed = false;

private:
    // The first word of the SHA-1 digest of the seed's decimal text, kept with the seed it
    // belongs to: as the seed does not change, one digest serves a whole generation.
    struct THasher {
        bool Valid = false;
        int32_t Seed = 0;
        uint32_t Word = 0;
    };
    THasher fHasher;

    uint32_t SeedWord();
    void Build(const std::vector<TXYPoint>& points, TArcList& arcs);
    std::vector<TXYPoint> InsetPoints(std::vector<TXYPoint> points) const;
    std::vector<TCircle> PathCircles(const std::vector<TXYPoint>& points);
    void AddSegmentCircles(const TCircleLine& line, std::vector<TCircle>& circles);
    void Arcs(const std::vector<TXYPoint>& points, const std::vector<TCircle>& circles, TArcList& arcs);
};
