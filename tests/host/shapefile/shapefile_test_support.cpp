#include "shapefile_test_support.h"

#include <shapefil.h>

namespace shapefile_test {

void WriteEmptyShapefile(const std::string& base, int shapeType) {
    SHPClose(SHPCreate(base.c_str(), shapeType));
    for (const char* extension : {".shp", ".shx"}) {
        std::fstream file(base + extension, std::ios::in | std::ios::out | std::ios::binary);
        const double box[] = {0.0, 0.0, -1.0, -1.0};
        file.seekp(36);
        file.write(reinterpret_cast<const char*>(box), sizeof box);
    }
    DBFHandle dbf = DBFCreate((base + ".dbf").c_str());
    DBFAddField(dbf, "Id", FTInteger, 6, 0);
    if (shapeType != SHPT_POLYGON) DBFAddField(dbf, "ElementID", FTInteger, 9, 0);
    DBFClose(dbf);
    std::fstream file(base + ".dbf", std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(29);
    file.put(static_cast<char>(0x57));
}

void CopyRecordsWithShapelib(const std::string& from, const std::string& to) {
    SHPHandle fromShapes = SHPOpen((from + ".shp").c_str(), "rb");
    DBFHandle fromTable = DBFOpen((from + ".dbf").c_str(), "rb");
    SHPHandle toShapes = SHPOpen((to + ".shp").c_str(), "rb+");
    DBFHandle toTable = DBFOpen((to + ".dbf").c_str(), "rb+");
    if (fromShapes && fromTable && toShapes && toTable) {
        for (int i = 0; i < DBFGetFieldCount(fromTable); ++i) {
            char name[12];
            int width = 0, decimals = 0;
            const DBFFieldType type = DBFGetFieldInfo(fromTable, i, name, &width, &decimals);
            if (DBFGetFieldIndex(toTable, name) < 0) DBFAddField(toTable, name, type, width, decimals);
        }
        for (int i = 0; i < fromShapes->nRecords; ++i) {
            SHPObject* shape = SHPReadObject(fromShapes, i);
            if (shape) SHPWriteObject(toShapes, -1, shape);
            SHPDestroyObject(shape);
            const char* record = static_cast<const char*>(DBFReadTuple(fromTable, i));
            std::string copy(record ? record : "", record ? static_cast<std::size_t>(fromTable->nRecordLength) : 0);
            if (record) DBFWriteTuple(toTable, i, copy.data());
        }
    }
    if (fromShapes) SHPClose(fromShapes);
    if (toShapes) SHPClose(toShapes);
    if (fromTable) DBFClose(fromTable);
    if (toTable) DBFClose(toTable);
}

}  // namespace shapefile_test
