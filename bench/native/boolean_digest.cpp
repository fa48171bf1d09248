// Prints a digest of every ring the native Boolean operations return on the
// benchmark inputs: the intersection of every overlapping parcel and service
// area of the town, and the intersection and union of two overlapping wobbly
// circles (the pair of bench_vu_boolean) and of two random stars, at 100,
// 1,000 and 4,000 vertices each. A change that is meant to leave results
// bit-identical must leave every line unchanged. With arguments it runs only
// the named cases (town, town-kept, circles, stars, and a vertex count), which makes it
// a small driver for instruction counts.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "area_references.h"
#include "boolean_shapes.h"
#include "native/native.h"
#include "town/town_native.h"

namespace {

using Korvex::CStandAloneDataTools;
using Korvex::NativeGeometry;
using Korvex::NativeGeometryPoint;
using namespace boolean_shapes;

// FNV-1a over the bytes of every point of every ring, with ring and result
// boundaries, so that order, start and count all count.
class Digest {
public:
    void Add(const void* data, std::size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) m_hash = (m_hash ^ bytes[i]) * 0x100000001b3ull;
    }
    void AddResult(const NativeGeometry* result) {
        for (const NativeGeometry* ring = result; ring != nullptr; ring = ring->next) {
            Add(&ring->count, sizeof ring->count);
            Add(ring->points, sizeof(NativeGeometryPoint) * static_cast<std::size_t>(ring->count));
            ++m_rings;
        }
        const char end = '|';
        Add(&end, 1);
    }
    void Print(const std::string& name) const {
        std::printf("%-22s %016llx  %ld rings\n", name.c_str(), static_cast<unsigned long long>(m_hash), m_rings);
    }

private:
    std::uint64_t m_hash = 0xcbf29ce484222325ull;
    long m_rings = 0;
};

Korvex::NativeGeometryChain Ring(std::vector<NativeGeometryPoint> points) {
    points.push_back(points.front());
    return Korvex::NativeGeometryChain(new NativeGeometry(points.data(), static_cast<int>(points.size())));
}

bool Wanted(int argc, char** argv, const char* name) {
    if (argc < 2) return true;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], name) == 0) return true;
    return false;
}

void DigestPair(const std::string& name, const NativeGeometry* a, const NativeGeometry* b) {
    Digest intersection, union_;
    const Korvex::NativeGeometryChain both(CStandAloneDataTools::GetPolygonIntersection(a, b));
    const Korvex::NativeGeometryChain either(CStandAloneDataTools::GetPolygonUnion(a, b));
    intersection.AddResult(both.get());
    union_.AddResult(either.get());
    intersection.Print(name + " and");
    union_.Print(name + " or");
}

}  // namespace

int main(int argc, char** argv) {
    for (int count : {100, 1000, 4000}) {
        if (!Wanted(argc, argv, std::to_string(count).c_str())) continue;
        if (Wanted(argc, argv, "circles")) {
            const auto a = Ring(CircleA<NativeGeometryPoint>(count)), b = Ring(CircleB<NativeGeometryPoint>(count));
            DigestPair("circles " + std::to_string(count), a.get(), b.get());
        }
        if (Wanted(argc, argv, "stars")) {
            const auto a = Ring(StarA<NativeGeometryPoint>(count)), b = Ring(StarB<NativeGeometryPoint>(count));
            DigestPair("stars " + std::to_string(count), a.get(), b.get());
        }
    }
    // The town again through one kept classifier, as the shapefile layer
    // calls it: the same digest as plain calls.
    for (const bool kept : {false, true}) {
        if (!Wanted(argc, argv, kept ? "town-kept" : "town")) continue;
        const allotrix_town::Town town = allotrix_town::MakeTown(allotrix_town::FullTownSize(), 20261205);
        std::vector<Korvex::NativeGeometryChain> parcels, services;
        for (const auto& parcel : town.parcels) parcels.push_back(allotrix_town::ToNativeChain(parcel));
        for (const auto& service : town.serviceAreas) services.push_back(allotrix_town::ToNativeChain(service));
        Digest digest;
        Korvex::VuPolygonClassifier classifier;
        for (const auto& [p, s] : area_bench::OverlappingPairs(town)) {
            const NativeGeometry* parcel = parcels[p].get();
            const NativeGeometry* service = services[s].get();
            const Korvex::NativeGeometryChain both(
                kept ? CStandAloneDataTools::GetPolygonIntersection(parcel, service, classifier)
                     : CStandAloneDataTools::GetPolygonIntersection(parcel, service));
            digest.AddResult(both.get());
        }
        digest.Print(kept ? "town kept and" : "town and");
    }
    return 0;
}
