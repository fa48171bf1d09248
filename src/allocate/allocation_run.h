// One allocation from start to balance: checks that the input files agree
// with the model on their length unit, runs the chosen method, and proves
// that every unit of demand read was allocated or listed as unallocated.
#pragma once

#include "allocate/allocation_inputs.h"
#include "allocate/allocation_options.h"
#include "allocate/allocation_result.h"
#include "host/support/units.h"

namespace Allotrix::Allocate {

// InputError for bad input; ConservationError if the books do not balance.
AllocationResult RunAllocation(const AllocationInputs& inputs, const AllocationOptions& options,
                               const ProgressFunction& progress = {});

// Compares the length unit of the shapefile's .prj with the model's: none
// or the same is fine; units within 0.1 % of each other (foot and US survey
// foot) are a warning naming both; any other difference is an InputError
// naming the file and both units, or a warning when `allowMismatch`.
void CheckShapefileUnit(const std::string& shapefilePath, Norvane::Support::LengthUnit modelUnit,
                        const std::string& modelName, bool allowMismatch, std::vector<std::string>& warnings);

}  // namespace Allotrix::Allocate
