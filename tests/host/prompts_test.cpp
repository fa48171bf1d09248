// File prompts, message boxes and list forms: their view models driven by
// the scripted presenter, and the terminal presenter on redirected input.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include <unistd.h>

#include "host/host.h"

namespace {

namespace fs = std::filesystem;
using namespace Norvane::VaultixFacade;
using Answer = ScriptedPresenter::Answer;

constexpr const char* kShapefiles = "Esri Shapefiles (*.shp)|*.shp";

// A scratch folder holding a.shp and the folder sub/.
struct Scratch {
    fs::path dir = fs::temp_directory_path() / ("allotrix_prompts_test_" + std::to_string(::getpid()));
    Scratch() {
        fs::create_directories(dir / "sub");
        std::ofstream(dir / "a.shp") << "x";
    }
    ~Scratch() { fs::remove_all(dir); }
    std::string operator/(const char* name) const { return (dir / name).string(); }
};

const std::string& NoticeOf(const ScriptedPresenter::Shown& shown) { return std::get<FilePromptView>(shown).Notice; }

TEST(FilePrompts, OpenRefusesWhatIsNoFileAndCompletesTheExtension) {
    Scratch scratch;
    ScriptedPresenter presenter{Answer::Cancel(),
                                Answer::Path(""),
                                Answer::Path(scratch / "missing.shp"),
                                Answer::Path(scratch / "sub"),
                                Answer::Path(scratch / "a")};
    OpenFileWrapper open(presenter);
    open.SetFilter(kShapefiles);
    EXPECT_EQ(open.ShowPrompt(), DialogResult::Cancel);
    EXPECT_EQ(open.FileProxy(), nullptr);

    EXPECT_EQ(open.ShowPrompt(), DialogResult::OK);
    ASSERT_NE(open.FileProxy(), nullptr);
    EXPECT_EQ(open.FileProxy()->LocalFileName(), scratch / "a.shp");
    EXPECT_EQ(open.FileProxy()->Serialize(), scratch / "a.shp");
    const auto& shown = presenter.History();
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(std::get<FilePromptView>(shown[1]).Types.at(0).Description, "Esri Shapefiles (*.shp)");
    EXPECT_EQ(NoticeOf(shown[1]), "");
    EXPECT_EQ(NoticeOf(shown[2]), "Type a file name.");
    EXPECT_EQ(NoticeOf(shown[3]), scratch / "missing.shp" + " was not found. Check the file name and try again.");
    EXPECT_EQ(NoticeOf(shown[4]), scratch / "sub" + " is a folder, not a file.");

    open.Dispose();
    open.Dispose();
    EXPECT_EQ(open.FileProxy(), nullptr);
    presenter.Add(Answer::Path(scratch / "new.shp"));
    open.SetCheckFileExists(false);
    EXPECT_EQ(open.ShowPrompt(), DialogResult::OK);
    EXPECT_THROW(open.SetFilter("Shapefiles|*.shp|All"), Norvane::Support::ArgumentException);
    EXPECT_THROW(open.SetFilter("Shapefiles|*.shp;"), Norvane::Support::ArgumentException);
    EXPECT_EQ(open.Filter(), kShapefiles);
}

TEST(FilePrompts, SaveAsksBeforeReplacingAndHandsThePathToTheDelegate) {
    Scratch scratch;
    ScriptedPresenter presenter{Answer::Path(scratch / "sub"),          Answer::Path(scratch / "nowhere/b.shp"),
                                Answer::Path(scratch / "a"),            Answer::Confirm(false),
                                Answer::Path(scratch / "a.shp"),        Answer::Confirm(true),
                                Answer::Path(scratch / "c.shp"),        Answer::Path(scratch / "d")};
    SaveFileWrapper save(presenter);
    save.SetFilter(kShapefiles);
    std::string written;
    EXPECT_EQ(save.ShowPrompt([&](const std::string& path) { written = path; }), DialogResult::OK);
    EXPECT_EQ(written, scratch / "a.shp");
    EXPECT_EQ(save.FileProxy()->LocalFileName(), scratch / "a.shp");
    const auto& shown = presenter.History();
    ASSERT_EQ(shown.size(), 6u);
    EXPECT_EQ(NoticeOf(shown[1]), scratch / "sub" + " is a folder, not a file.");
    EXPECT_EQ(NoticeOf(shown[2]), "The folder " + scratch / "nowhere" + " does not exist.");
    EXPECT_EQ(std::get<ScriptedPresenter::Confirmation>(shown[3]).Question, scratch / "a.shp" + " already exists. Replace it?");

    // A failing save reaches the caller and leaves no file chosen.
    save.Dispose();
    EXPECT_THROW(save.ShowPrompt([](const std::string&) { throw std::runtime_error("disk full"); }), std::runtime_error);
    EXPECT_EQ(save.FileProxy(), nullptr);
    EXPECT_EQ(save.ShowPrompt(), DialogResult::OK);  // no delegate
    EXPECT_EQ(save.FileProxy()->LocalFileName(), scratch / "d.shp");
}

TEST(MessageBoxes, ButtonsDismissalAndAnswersOutsideTheBox) {
    struct Row {
        MessageBoxButtons buttons;
        std::vector<DialogResult> choices;
        DialogResult dismissed;
    };
    using R = DialogResult;
    for (const Row& row : {Row{MessageBoxButtons::OK, {R::OK}, R::OK},
                           Row{MessageBoxButtons::OKCancel, {R::OK, R::Cancel}, R::Cancel},
                           Row{MessageBoxButtons::AbortRetryIgnore, {R::Abort, R::Retry, R::Ignore}, R::Abort},
                           Row{MessageBoxButtons::YesNoCancel, {R::Yes, R::No, R::Cancel}, R::Cancel},
                           Row{MessageBoxButtons::YesNo, {R::Yes, R::No}, R::No},
                           Row{MessageBoxButtons::RetryCancel, {R::Retry, R::Cancel}, R::Cancel}}) {
        const MessageBoxModel box("text", "caption", row.buttons);
        EXPECT_EQ(box.Choices(), row.choices);
        EXPECT_EQ(box.DismissResult(), row.dismissed);
    }
    ScriptedPresenter presenter{Answer::Button(R::No), Answer::Button(R::Retry), Answer::Cancel()};
    EXPECT_EQ(ShowMessageBox(presenter, "Replace?", "Allotrix", MessageBoxButtons::YesNo, MessageBoxIcon::Question), R::No);
    EXPECT_EQ(ShowMessageBox(presenter, "Replace?", "Allotrix", MessageBoxButtons::YesNo), R::No);  // not a button
    EXPECT_EQ(ShowMessageBox(presenter, "Go on?", "Allotrix", MessageBoxButtons::OKCancel), R::Cancel);
    const auto& box = std::get<MessageBoxModel>(presenter.History().front());
    EXPECT_EQ(box.Caption(), "Allotrix");
    EXPECT_EQ(box.Icon(), MessageBoxIcon::Question);
}

TEST(ListChoiceForms, SelectionEnablesTheButtonAndTheAnswerIsChecked) {
    ListChoiceForm form("Pick", "Available Selection Sets:", {"Junction\\All Elements", "Junction\\S"}, "Select", "Cancel");
    EXPECT_FALSE(form.CanSelect());
    form.Select(1);
    EXPECT_TRUE(form.CanSelect());
    EXPECT_THROW(form.Select(2), Norvane::Support::IndexOutOfRangeException);
    ScriptedPresenter presenter{Answer::Choice(0), Answer::Cancel(), Answer::Choice(5), Answer::Path("x")};
    EXPECT_EQ(form.ShowModal(presenter), 0u);
    EXPECT_EQ(form.SelectedIndex(), 0u);
    EXPECT_EQ(form.ShowModal(presenter), std::nullopt);
    EXPECT_FALSE(form.CanSelect());
    EXPECT_THROW(form.ShowModal(presenter), Norvane::Support::IndexOutOfRangeException);
    EXPECT_THROW(form.ShowModal(presenter), std::logic_error);  // a path for a list
    EXPECT_EQ(form.ShowModal(presenter), std::nullopt);          // the script is exhausted
}

TEST(TerminalPresenter, ReadsRedirectedInputReasksAndCancelsAtTheEnd) {
    Scratch scratch;
    std::istringstream in("\n  \"" + scratch / "a.shp" + "\"  \n" +  // a blank line, then a quoted path
                          "x\n9\n2\n" +                                // list: bad, out of range, then 2
                          "maybe\nYES\n" +                             // message box: bad, then a caption
                          "3\n" +                                      // message box by number
                          "n\n");                                      // confirmation
    std::ostringstream out;
    TerminalPresenter terminal(in, out);

    OpenFileWrapper open(terminal);
    open.SetFilter(kShapefiles);
    EXPECT_EQ(open.ShowPrompt(), DialogResult::OK);
    EXPECT_EQ(open.FileProxy()->LocalFileName(), scratch / "a.shp");

    ListChoiceForm form("Pick", "Sets:", {"A", "B"}, "Select", "Cancel");
    EXPECT_EQ(form.ShowModal(terminal), 1u);
    EXPECT_EQ(ShowMessageBox(terminal, "Replace?", "Allotrix", MessageBoxButtons::YesNo), DialogResult::Yes);
    EXPECT_EQ(ShowMessageBox(terminal, "Again?", "Allotrix", MessageBoxButtons::YesNoCancel), DialogResult::Cancel);
    EXPECT_EQ(ShowMessageBox(terminal, "Wrong type.", "Allotrix", MessageBoxButtons::OK, MessageBoxIcon::Error),
              DialogResult::OK);  // one button: shown, nothing read
    EXPECT_FALSE(terminal.Confirm("Replace it?"));

    // At the end of the input everything cancels.
    EXPECT_EQ(open.ShowPrompt(), DialogResult::Cancel);
    EXPECT_EQ(form.ShowModal(terminal), std::nullopt);
    EXPECT_EQ(ShowMessageBox(terminal, "Go on?", "Allotrix", MessageBoxButtons::OKCancel), DialogResult::Cancel);
    EXPECT_FALSE(terminal.Confirm("Replace it?"));

    const std::string shown = out.str();
    for (const char* expected : {"Open (Esri Shapefiles (*.shp))", "  2) B", "Select 1-2, or 0 to cancel: ",
                                 "Type a number from 0 to 2.", "1) Yes  2) No", "[error] Allotrix: Wrong type.",
                                 "Replace it? [y/n] "})
        EXPECT_NE(shown.find(expected), std::string::npos) << expected;
}

}  // namespace
