// Geometric questions on native geometry handles. A handle is the address of
// a native geometry chain as an integer, 0 for none; every handle returned is
// new and the caller releases it with FreeGeometry.
#pragma once

#include <cstdint>
#include <vector>

#include "host/support/geometry_point.h"

namespace Norvane::Allotrix::Calculations {

class IDataGeometryLibrary {
public:
    virtual ~IDataGeometryLibrary() = default;

    virtual std::intptr_t GetPointNative(const Support::GeometryPoint& pnt) = 0;
    virtual std::intptr_t GetPolylineNative(const Support::PointArray& pnts) = 0;
    virtual std::intptr_t GetPolygonNative(const Support::PointArray& pnt) = 0;
    virtual void FreeGeometry(std::intptr_t geometry) = 0;

    virtual Support::GeometryPoint GetPoint(std::intptr_t nativePoint) = 0;
    virtual Support::PointArray GetPolygon(std::intptr_t polygon) = 0;
    virtual Support::PointArray GetPolygon(std::intptr_t polygon, std::intptr_t innerPoint) = 0;
    virtual int GetPolygonRingCount(std::intptr_t polygon) = 0;
    virtual std::vector<std::intptr_t> GetRingsFor(std::intptr_t polygon) = 0;

    virtual bool IsPointInPolygon(std::intptr_t pnt, std::intptr_t polygon) = 0;
    virtual bool DoPolygonsTouch(std::intptr_t polygon1, std::intptr_t polygon2) = 0;
    virtual void GetPolygonCentroidAndArea(std::intptr_t polygon, std::intptr_t& centroid, double& area) = 0;
    virtual double GetClosestDistanceSquaredBetweenPolygons(std::intptr_t polygon1, std::intptr_t polygon2) = 0;

    // Boolean operations; both inputs are turned counter-clockwise in place.
    virtual std::intptr_t GetPolygonIntersection(std::intptr_t polygon1, std::intptr_t polygon2) = 0;
    virtual std::intptr_t GetPolygonUnion(std::intptr_t polygon1, std::intptr_t polygon2) = 0;
    virtual std::intptr_t SubstractVerticesMatchingPolygon(std::intptr_t polygon1, std::intptr_t polygon2) = 0;
};

}  // namespace Norvane::Allotrix::Calculations
