// What a modeller reads after an allocation: meters read, allocated and
// left unallocated by reason, the demand totals, which must balance, and
// where the outputs went; as text or as JSON.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "allocate/allocate.h"

namespace AllotrixApp {

struct SummaryFacts {
    std::string method;
    std::string modelName;
    std::string sourceName;
    const Allotrix::Allocate::AllocationResult* result = nullptr;
    const Allotrix::Allocate::ResultFiles* outputs = nullptr;
    std::vector<std::string> timings;  // "read 12 ms", ...
};

void PrintSummary(std::ostream& out, const SummaryFacts& facts);
void PrintJsonSummary(std::ostream& out, const SummaryFacts& facts);

}  // namespace AllotrixApp
