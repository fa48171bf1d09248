// Reads arbitrary bytes as a network file and as a selection-set file. A
// file is either refused with an ApplicationException or read into a model
// whose text comes back byte for byte, whose geometry can be walked, and
// which takes a demand edit that reads back as written.
#include <cstdint>
#include <string>

#include "host/host.h"

using namespace Norvane::Domain;
using Norvane::Support::ApplicationException;
using Norvane::Support::ArgumentException;

namespace {

void Require(bool condition) {
    if (!condition) __builtin_trap();
}

void WalkGeometry(DomainModel& model) {
    for (const auto type : {NetworkElementType::Node, NetworkElementType::Link}) {
        IDomainElementManager& manager = *model.DomainElementManager(TypeId(type));
        auto& field = dynamic_cast<IGeometryField&>(*manager.DomainElementField(kGeometryFieldName, kGeometryTableName));
        field.SetWorkingUnit(Norvane::Support::Unit::FromLengthUnit(Norvane::Support::LengthUnit::USSurveyFoot));
        for (std::int32_t id : manager.ElementIDs()) field.GetGeometry(id);
    }
}

void EditFirstJunction(InpModel& model) {
    const auto& junctions = model.Model().DomainElementManager(TypeId(NetworkElementType::Junction))->ElementIDs();
    if (junctions.empty()) return;
    const std::int32_t id = junctions.front();
    try {
        model.SetBaseDemand(id, 12.5);
        model.AddDemand(id, {3.25, "", "fuzz"});
    } catch (const ArgumentException&) {
        return;  // the junction names a pattern the file does not define
    }
    const auto reread = InpModel::Parse(model.Text(), "edited.inp");
    Require(reread->BaseDemand(id) == 12.5);
    Require(reread->DemandRows(id) == model.DemandRows(id));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::unique_ptr<InpModel> model;
    try {
        model = InpModel::Parse(text, "fuzz.inp");
    } catch (const ApplicationException&) {
        return 0;
    }
    Require(model->Text() == text);
    WalkGeometry(model->Model());
    try {
        SelectionSetFile::Parse(text, "fuzz.txt", "fuzz", model->Model());
    } catch (const ApplicationException&) {
    }
    EditFirstJunction(*model);
    return 0;
}
