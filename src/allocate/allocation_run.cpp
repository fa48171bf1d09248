#include "allocate/allocation_run.h"

#include <cmath>

#include "allocate/allocation_errors.h"
#include "allocate/area_proportional_method.h"
#include "allocate/nearest_methods.h"
#include "allocate/service_area_method.h"
#include "data/standard_data_tools.h"
#include "host/domain/inp/inp_model.h"
#include "host/shapefile/projection_unit.h"
#include "host/support/text_manager.h"
#include "host/support/units.h"

namespace Allotrix::Allocate {

using Norvane::Support::LengthUnit;
using Norvane::Support::Unit;

namespace {

bool isShapefile(const std::string& path) {
    return Norvane::Allotrix::Calculations::Data::StandardDataTools::IsShapefilePath(path);
}

// The notice a host gives once when it takes a shapefile's coordinates to
// be in the model's unit.
std::string unitAssumedNotice(LengthUnit modelUnit) {
    return Norvane::Support::TextManager::Current().Get("zordd.info.LengthUnitAssumedSHP",
                                                        {Unit::FromLengthUnit(modelUnit).Label()});
}

}  // namespace

void CheckShapefileUnit(const std::string& shapefilePath, LengthUnit modelUnit, const std::string& modelName,
                        bool allowMismatch, std::vector<std::string>& warnings) {
    const LengthUnit fileUnit = Norvane::Shapefile::ReadProjectionLengthUnit(shapefilePath);
    if (fileUnit == LengthUnit::Unknown || modelUnit == LengthUnit::Unknown || fileUnit == modelUnit) return;
    const Unit file = Unit::FromLengthUnit(fileUnit), model = Unit::FromLengthUnit(modelUnit);
    const std::string text = shapefilePath + ": its .prj gives the length unit " + file.Name() + ", but " +
                             modelName + " uses " + model.Name();
    const bool close = file.IsLength() && std::fabs(file.MetresPerUnit() / model.MetresPerUnit() - 1.0) < 1e-3;
    if (close || allowMismatch) {
        warnings.push_back(text);
        return;
    }
    throw InputError(text + " (--allow-unit-mismatch to go on)");
}

AllocationResult RunAllocation(const AllocationInputs& inputs, const AllocationOptions& options,
                               const ProgressFunction& progress) {
    AllocationResult result(options.decimals);
    result.sourcePath = inputs.sourcePath;
    const LengthUnit modelUnit = inputs.model.LengthUnit();
    bool noticeGiven = false;
    for (const std::string* path : {&inputs.sourcePath, &inputs.servicePath}) {
        if (path->empty() || !isShapefile(*path)) continue;
        CheckShapefileUnit(*path, modelUnit, inputs.modelName, options.allowUnitMismatch, result.warnings);
        if (!noticeGiven) result.notices.push_back(unitAssumedNotice(modelUnit));
        noticeGiven = true;
    }
    if (!(options.unitMultiplier > 0.0) || !std::isfinite(options.unitMultiplier))
        throw InputError("the unit multiplier must be a positive number");
    switch (options.method) {
    case AllocationMethod::NearestNode: AllocateToNearestNode(inputs, options, result, progress); break;
    case AllocationMethod::NearestPipe: AllocateToNearestPipe(inputs, options, result, progress); break;
    case AllocationMethod::ServiceArea: AllocateByServiceArea(inputs, options, result, progress); break;
    case AllocationMethod::AreaProportional: AllocateByAreaProportion(inputs, options, result, progress); break;
    }
    result.ledger.Check();
    return result;
}

}  // namespace Allotrix::Allocate
