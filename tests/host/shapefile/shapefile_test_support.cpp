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

}  // namespace shapefile_test
