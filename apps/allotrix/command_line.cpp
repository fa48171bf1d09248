#include "command_line.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>

#include "allocate_command.h"
#include "demo.h"
#include "example_parcel.h"
#include "layer_choices.h"
#include "polygon_file.h"
#include "polygon_report.h"

namespace AllotrixApp {

using namespace Allotrix::Allocate;

namespace {

const std::map<std::string, AllocationMethod> kMethods = {{"nearest-node", AllocationMethod::NearestNode},
                                                          {"nearest-pipe", AllocationMethod::NearestPipe},
                                                          {"service-area", AllocationMethod::ServiceArea},
                                                          {"area-proportional", AllocationMethod::AreaProportional}};

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// "Diameter>=400": a model field, a comparison and a number.
std::optional<PipeExclusion> parseExclusion(const std::string& text) {
    const auto at = text.find_first_of("<>");
    if (at == std::string::npos) return std::nullopt;
    const bool orEqual = at + 1 < text.size() && text[at + 1] == '=';
    const std::string field = trimmed(text.substr(0, at)), number = trimmed(text.substr(at + (orEqual ? 2 : 1)));
    double value = 0.0;
    const auto parsed = std::from_chars(number.data(), number.data() + number.size(), value);
    const auto isName = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    if (field.empty() || !std::all_of(field.begin(), field.end(), isName) || number.empty() ||
        parsed.ec != std::errc() || parsed.ptr != number.data() + number.size() || !std::isfinite(value))
        return std::nullopt;
    using Comparison = PipeExclusion::Comparison;
    const Comparison comparison = text[at] == '>' ? (orEqual ? Comparison::AtLeast : Comparison::Above)
                                                  : (orEqual ? Comparison::AtMost : Comparison::Below);
    return PipeExclusion{field, comparison, value};
}

void addAllocateOptions(CLI::App& command, AllocateRequest& request, std::string& mode, std::string& split,
                        std::string& exclusion, double& maxDistance) {
    command.add_option("model", request.model, "EPANET model (.inp) to allocate onto")->required();
    command.add_option("meters", request.sources, "meters (points), or parcels (polygons) for area-proportional")
        ->required();
    command.add_option("-m,--method", request.methodName, "nearest-node, nearest-pipe, service-area or area-proportional")
        ->check(CLI::IsMember(kMethods));
    command.add_option("-d,--demand-field", request.options.demandField, "numeric field holding each meter's demand")
        ->required();
    command.add_option("--multiplier", request.options.unitMultiplier,
                       "factor from the demand field's unit to the model's flow unit (default 1)");
    command.add_option("--id-field", request.options.idField, "field naming each meter (default: record numbers)");
    command.add_option("-s,--services", request.services, "service polygons, for service-area and area-proportional");
    command.add_option("--node-field", request.options.nodeField, "service polygons' field naming their junction");
    command.add_option("--max-distance", maxDistance, "meters farther from every node or pipe stay unallocated");
    command.add_option("--layer", request.options.layerPath,
                       "model elements for the nearest methods, e.g. \"Junction\\Zone 3\" (a selection set)");
    command.add_option("--selection-sets", request.selectionSets,
                       "text file of selection sets --layer can name: \"[name]\", then one element label a line");
    command.add_option("--split", split, "nearest-pipe: equal, or position (the nearer end gets more)")
        ->check(CLI::IsMember({"equal", "position"}));
    command.add_option("--exclude", exclusion, "nearest-pipe: pipes never to use, e.g. \"Diameter>=400\"");
    command.add_option("--mode", mode, "add to existing base demands, or replace them (default add)")
        ->check(CLI::IsMember({"add", "replace"}));
    command.add_option("--pattern", request.write.pattern, "demand pattern to write with the new demands");
    command.add_option("--category", request.write.category, "demand category name to write");
    command.add_option("-o,--output", request.outputPrefix,
                       "prefix of the output files (default: MODEL's name with -allocated)");
    command.add_flag("--force", request.force, "replace output files that exist");
    command.add_flag("--allow-unit-mismatch", request.options.allowUnitMismatch,
                     "go on when a .prj's length unit differs from the model's");
    command.add_flag("--json", request.json, "print the summary as JSON");
    command.footer(
        "Outputs: PREFIX.inp, PREFIX-nodes.csv, PREFIX-unallocated.csv, PREFIX-connectors.shp, PREFIX-map.html\n\n"
        "Example:\n"
        "  allotrix allocate town.inp meters.shp --method nearest-pipe --demand-field GPM --max-distance 150\n"
        "  allotrix allocate town.inp parcels.shp -m area-proportional -s zones.shp --node-field NODE -d DEMAND\n"
        "  allotrix allocate town.inp meters.shp -m nearest-node -d GPM --selection-sets zones.txt "
        "--layer \"Junction\\Zone 3\"");
}

int runPolygon(const std::string& file, std::ostream& out, std::ostream& err) {
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* report = open_memstream(&text, &size);
    if (file.empty()) {
        printPolygonReport(report, exampleParcel(), exampleParcelSamplePoints());
    } else {
        PolygonText polygon = readPolygonFile(file);
        if (!polygon.error.empty()) {
            std::fclose(report);
            std::free(text);
            err << "allotrix: " << polygon.error << "\n";
            return kExitBadInput;
        }
        const NamedPolygon named{file, std::move(polygon.points), polygon.ringCount};
        printPolygonReport(report, named, standardSamplePoints(named));
    }
    std::fclose(report);
    out << std::string(text, size);
    std::free(text);
    return kExitOk;
}

int runLayers(const std::string& modelPath, const std::string& selectionSets, std::ostream& out, std::ostream& err) {
    try {
        const auto model = LoadModelOrRefuse(modelPath, selectionSets);
        for (const std::string& choice : ListLayerChoices(*model)) out << choice << "\n";
        return kExitOk;
    } catch (const InputError& error) {
        err << "allotrix: " << error.what() << "\n";
        return kExitBadInput;
    } catch (const std::exception& error) {
        err << "allotrix: " << error.what() << "\n";
        return kExitInternal;
    }
}

}  // namespace

int RunCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err, bool terminal) {
    CLI::App app{"allotrix: puts customer demand onto the nodes of an EPANET network model"};
    app.set_version_flag("--version", std::string("allotrix ") + kVersion);
    app.require_subcommand(1);
    app.footer("Example:\n  allotrix allocate town.inp meters.shp --demand-field GPM --max-distance 150\n"
               "  allotrix demo    (allocates seeded meters onto the KY10 network)");

    AllocateRequest request;
    std::string mode = "add", split = "equal", exclusion;
    double maxDistance = -1.0;
    CLI::App* allocate = app.add_subcommand("allocate", "allocate meters' or parcels' demand onto a model");
    addAllocateOptions(*allocate, request, mode, split, exclusion, maxDistance);

    std::string demoFolder = "allotrix-demo";
    bool demoForce = false, demoJson = false;
    CLI::App* demo = app.add_subcommand("demo", "allocate seeded meters onto the KY10 network shipped with allotrix");
    demo->add_option("--output-dir", demoFolder, "where the demo's inputs and outputs go (default allotrix-demo)");
    demo->add_flag("--force", demoForce, "replace outputs of an earlier demo");
    demo->add_flag("--json", demoJson, "print the summary as JSON");
    demo->footer("Example:\n  allotrix demo --output-dir /tmp/demo --force");

    std::string layersModel, layersSets;
    CLI::App* layers = app.add_subcommand("layers", "list the model elements allocate --layer can name");
    layers->add_option("model", layersModel, "EPANET model (.inp)")->required();
    layers->add_option("--selection-sets", layersSets,
                       "text file of selection sets, listed for each element type: \"[name]\", then one label a line");
    layers->footer("Example:\n  allotrix layers town.inp\n  allotrix layers town.inp --selection-sets zones.txt");

    std::string polygonFile;
    CLI::App* polygon = app.add_subcommand("polygon", "measure a polygon and tell where a few points lie");
    polygon->add_option("file", polygonFile, "\"x y\" per line, a blank line between rings (default: a built-in parcel)");
    polygon->footer("Example:\n  allotrix polygon parcel.txt");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        out << (app.get_subcommands().empty() ? app.help() : app.get_subcommands().front()->help());
        return kExitOk;
    } catch (const CLI::CallForVersion&) {
        out << app.version() << "\n";
        return kExitOk;
    } catch (const CLI::ParseError& error) {
        err << "allotrix: " << error.what() << " (--help for usage)\n";
        return kExitBadInput;
    }

    if (*polygon) return runPolygon(polygonFile, out, err);
    if (*layers) return runLayers(layersModel, layersSets, out, err);
    if (*demo) return RunDemo(demoFolder, demoForce, demoJson, out, err, terminal);

    request.options.method = kMethods.at(request.methodName);
    request.write.mode = mode == "replace" ? DemandMode::Replace : DemandMode::Add;
    request.options.split = split == "position" ? PipeSplit::ByPosition : PipeSplit::Equal;
    if (maxDistance >= 0.0) request.options.maxDistance = maxDistance;
    request.askForLayer = terminal;
    if (!exclusion.empty()) {
        request.options.exclusion = parseExclusion(exclusion);
        if (!request.options.exclusion) {
            err << "allotrix: --exclude wants FIELD, a comparison (>=, >, <=, <) and a number, e.g. Diameter>=400\n";
            return kExitBadInput;
        }
    }
    return RunAllocate(request, out, err, terminal);
}

}  // namespace AllotrixApp
