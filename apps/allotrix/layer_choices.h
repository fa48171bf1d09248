// The model-element layers a modeller may pick, through the data tools'
// layer selection dialog: listed for `allotrix layers`, or asked for on the
// terminal when `allocate` runs there without --layer.
#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace Norvane::Domain {
class InpModel;
}

namespace AllotrixApp {

// The dialog's entries for the model's junctions and pipes, in its order
// ("Junction\All Elements", "Junction\<selection set>", ..., "Pipe\...").
// Fails with the data tools' error when the build has no model-element
// layers.
std::vector<std::string> ListLayerChoices(Norvane::Domain::InpModel& model);

// Shows the dialog for the element type ("Junction" or "Pipe") on `out` and
// reads the choice from `in`; nothing when the user cancels.
std::optional<std::string> AskForLayer(Norvane::Domain::InpModel& model, const std::string& elementType,
                                       std::istream& in, std::ostream& out);

}  // namespace AllotrixApp
