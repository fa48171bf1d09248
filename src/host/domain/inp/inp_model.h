// A water network model read from an EPANET-format (.inp) file, ready to be
// served as a domain data set and to take the demands an allocation
// computes. Saving writes the file back as it was read, every section,
// comment and unknown line included; only the lines an edit touches are
// rewritten, so a model saved without edits is byte-identical to its file.
//
// Coordinates are taken to be in the unit of the file's flow units: feet
// for CFS, GPM, MGD, IMGD and AFD, metres for LPS, LPM, MLD, CMH, CMD and
// CMS. Attribute values are in the file's units.
//
// The hydraulic engine's rule for demands: a junction with rows in
// [DEMANDS] takes its demand from those rows alone; the demand column of its
// [JUNCTIONS] row counts only when it has none.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/domain/domain_model.h"
#include "host/domain/inp/inp_document.h"
#include "host/domain/inp/inp_network.h"

namespace Norvane::Domain {

class InpModel {
public:
    // FileNotFoundException when the file is missing or cannot be read;
    // ApplicationException naming the file and line for a malformed file.
    static std::unique_ptr<InpModel> Load(const std::filesystem::path& path);
    // The same for text in memory; `sourceName` names it in messages.
    static std::unique_ptr<InpModel> Parse(std::string text, std::string sourceName);

    DomainModel& Model() { return *m_network.model; }
    const DomainModel& Model() const { return *m_network.model; }
    // What a user should know about the file, each "file:line: text"; at
    // most a thousand, then a count of the rest.
    const std::vector<std::string>& Warnings() const { return m_network.warnings; }
    // Upper case, e.g. "GPM".
    const std::string& FlowUnits() const { return m_network.flowUnits; }
    Support::LengthUnit LengthUnit() const { return Model().LengthUnit(); }
    // The element ID of a node or link by its label in the file; 0 for none.
    std::int32_t NodeId(std::string_view label) const;
    std::int32_t LinkId(std::string_view label) const;

    // Demands of junctions. Every call takes a junction's element ID and
    // raises ArgumentException for any other ID.
    // The demand column of the junction's [JUNCTIONS] row.
    double BaseDemand(std::int32_t junctionId) const;
    // The junction's [DEMANDS] rows.
    std::vector<DemandRow> DemandRows(std::int32_t junctionId) const;
    // The demand categories the engine uses: the [DEMANDS] rows, or else the
    // demand column with the junction's pattern.
    std::vector<DemandRow> EffectiveDemands(std::int32_t junctionId) const;
    // Rewrites the demand column of the junction's row.
    void SetBaseDemand(std::int32_t junctionId, double baseDemand);
    // Makes `rows` the junction's [DEMANDS] rows: its existing rows are
    // rewritten in place (those unchanged keep their text), surplus ones are
    // removed, further ones follow its last row or go to the end of the
    // [DEMANDS] section, which is added before [END] when the file has none.
    // ArgumentException for a demand that is not finite, a pattern the model
    // does not define, a category holding a line break, or a junction whose
    // label starts with "MULT" (the engine reads such a row as the demand
    // multiplier).
    void SetDemandRows(std::int32_t junctionId, std::vector<DemandRow> rows);
    // Adds a demand category so that the engine's total grows by the row's
    // demand: a junction without [DEMANDS] rows first gets its column demand
    // (when not zero) as a row of its own, since rows replace the column.
    void AddDemand(std::int32_t junctionId, DemandRow row);
    bool IsModified() const;

    // The file's text with every edit applied.
    std::string Text() const;
    // Writes Text() to `path` through a temporary file beside it, so a failed
    // write leaves an existing file as it was; ApplicationException naming
    // the path on failure.
    void Save(const std::filesystem::path& path) const;

private:
    InpModel(std::string text, std::string sourceName);

    void CheckJunction(std::int32_t junctionId) const;
    void CheckRow(const DemandRow& row) const;
    void UpdateTotalBaseDemand(std::int32_t junctionId);
    InpEdits Edits() const;
    std::string JunctionLineWithDemand(std::int32_t junctionId, double baseDemand) const;
    std::string DemandLine(std::int32_t junctionId, const DemandRow& row) const;
    void AddDemandRowEdits(InpEdits& edits) const;
    void InsertNewDemandRows(InpEdits& edits, std::vector<std::string> lines) const;

    struct BaseDemandEdit {
        double original;
        double current;
    };

    InpDocument m_document;
    std::string m_sourceName;
    InpNetwork m_network;  // holds views into m_document
    std::map<std::int32_t, BaseDemandEdit> m_baseDemandEdits;
    std::map<std::int32_t, std::vector<DemandRow>> m_demandRowEdits;
};

}  // namespace Norvane::Domain
