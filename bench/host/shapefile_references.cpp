#include "shapefile_references.h"

#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>
#include <shapefil.h>

#include <cstdio>
#include <cstdlib>

#include "town/town.h"

namespace shapefile_bench {

std::vector<Meter> TownMeters() {
    const allotrix_town::Town town = allotrix_town::MakeTown(allotrix_town::FullTownSize(), 20261205);
    std::vector<Meter> meters;
    meters.reserve(town.meters.size());
    for (std::size_t i = 0; i < town.meters.size(); ++i) {
        char label[32];
        std::snprintf(label, sizeof label, "M%06zu", i + 1);
        meters.push_back({town.meters[i].x, town.meters[i].y, static_cast<std::int32_t>(i + 1),
                          0.25 * static_cast<double>(i % 97) + 0.125, label});
    }
    return meters;
}

double Checksum(double x, double y, std::int64_t id, double demand, const std::string& label) {
    return x + y + static_cast<double>(id) + demand + static_cast<double>(label.size() + static_cast<unsigned char>(label.back()));
}

void WriteEmptyPointShapefile(const std::string& base) {
    SHPClose(SHPCreate(base.c_str(), SHPT_POINT));
    DBFClose(DBFCreateEx(base.c_str(), "UTF-8"));
}

void WriteWithShapelib(const std::string& base, const std::vector<Meter>& meters) {
    SHPHandle shp = SHPCreate(base.c_str(), SHPT_POINT);
    DBFHandle dbf = DBFCreateEx(base.c_str(), "UTF-8");
    DBFAddField(dbf, "METER_ID", FTInteger, 9, 0);
    DBFAddField(dbf, "DEMAND", FTDouble, 24, 15);
    DBFAddField(dbf, "LABEL", FTString, 16, 0);
    for (const Meter& m : meters) {
        SHPObject* point = SHPCreateSimpleObject(SHPT_POINT, 1, &m.x, &m.y, nullptr);
        const int record = SHPWriteObject(shp, -1, point);
        SHPDestroyObject(point);
        DBFWriteIntegerAttribute(dbf, record, 0, m.id);
        DBFWriteDoubleAttribute(dbf, record, 1, m.demand);
        DBFWriteStringAttribute(dbf, record, 2, m.label.c_str());
    }
    SHPClose(shp);
    DBFClose(dbf);
}

double ReadWithShapelib(const std::string& base, int& count) {
    SHPHandle shp = SHPOpen(base.c_str(), "rb");
    DBFHandle dbf = DBFOpen(base.c_str(), "rb");
    double sum = 0.0;
    count = DBFGetRecordCount(dbf);
    for (int i = 0; i < count; ++i) {
        SHPObject* point = SHPReadObject(shp, i);
        const int id = DBFReadIntegerAttribute(dbf, i, 0);
        const double demand = DBFReadDoubleAttribute(dbf, i, 1);
        sum += Checksum(point->padfX[0], point->padfY[0], id, demand, DBFReadStringAttribute(dbf, i, 2));
        SHPDestroyObject(point);
    }
    SHPClose(shp);
    DBFClose(dbf);
    return sum;
}

void WriteWithOgr(const std::string& base, const std::vector<Meter>& meters) {
    GDALAllRegister();
    GDALDriverH driver = GDALGetDriverByName("ESRI Shapefile");
    GDALDatasetH dataset = GDALCreate(driver, (base + ".shp").c_str(), 0, 0, 0, GDT_Unknown, nullptr);
    OGRLayerH layer = GDALDatasetCreateLayer(dataset, "meters", nullptr, wkbPoint, nullptr);
    const auto addField = [&](const char* name, OGRFieldType type, int width, int precision) {
        OGRFieldDefnH field = OGR_Fld_Create(name, type);
        OGR_Fld_SetWidth(field, width);
        OGR_Fld_SetPrecision(field, precision);
        OGR_L_CreateField(layer, field, TRUE);
        OGR_Fld_Destroy(field);
    };
    addField("METER_ID", OFTInteger, 9, 0);
    addField("DEMAND", OFTReal, 24, 15);
    addField("LABEL", OFTString, 16, 0);
    OGRFeatureDefnH definition = OGR_L_GetLayerDefn(layer);
    for (const Meter& m : meters) {
        OGRFeatureH feature = OGR_F_Create(definition);
        OGR_F_SetFieldInteger(feature, 0, m.id);
        OGR_F_SetFieldDouble(feature, 1, m.demand);
        OGR_F_SetFieldString(feature, 2, m.label.c_str());
        OGRGeometryH point = OGR_G_CreateGeometry(wkbPoint);
        OGR_G_SetPoint_2D(point, 0, m.x, m.y);
        OGR_F_SetGeometryDirectly(feature, point);
        if (OGR_L_CreateFeature(layer, feature) != OGRERR_NONE) std::abort();
        OGR_F_Destroy(feature);
    }
    GDALClose(dataset);
}

double ReadWithOgr(const std::string& base, int& count) {
    GDALAllRegister();
    GDALDatasetH dataset = GDALOpenEx((base + ".shp").c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
    OGRLayerH layer = GDALDatasetGetLayer(dataset, 0);
    double sum = 0.0;
    count = 0;
    while (OGRFeatureH feature = OGR_L_GetNextFeature(layer)) {
        OGRGeometryH point = OGR_F_GetGeometryRef(feature);
        sum += Checksum(OGR_G_GetX(point, 0), OGR_G_GetY(point, 0), OGR_F_GetFieldAsInteger(feature, 0),
                        OGR_F_GetFieldAsDouble(feature, 1), OGR_F_GetFieldAsString(feature, 2));
        OGR_F_Destroy(feature);
        ++count;
    }
    GDALClose(dataset);
    return sum;
}

}  // namespace shapefile_bench
