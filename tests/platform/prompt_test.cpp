// The prompt seam: the scripted prompt tests rely on, the default before a prompt is installed,
// and how file dialogs are planned from the program's options.
#include <gtest/gtest.h>

#include "platform/file_dialog_plan.h"
#include "platform/testing/scripted_prompt.h"

namespace qx::platform {
namespace {

using testing::ScopedCurrentPrompt;
using testing::ScriptedPrompt;

TEST(ScriptedPrompt, AnswersFromItsQueueAndRecordsEveryQuestion) {
    ScriptedPrompt prompt;
    const ScopedCurrentPrompt installed(prompt);
    prompt.QueueYesNo(true);
    prompt.QueueFile("/home/ana/backup.kpf");
    prompt.QueueFile(std::nullopt);

    CurrentPrompt().ShowMessage("Saved.", "", true);
    EXPECT_TRUE(CurrentPrompt().AskYesNo("Delete?"));
    EXPECT_FALSE(CurrentPrompt().AskYesNo("Again?")) << "no answer left: No";
    FileDialogOptions options;
    options.defaultExtension = "kpf";
    EXPECT_EQ(CurrentPrompt().SaveFile(options), "/home/ana/backup.kpf");
    EXPECT_EQ(CurrentPrompt().OpenFile(options), std::nullopt);
    EXPECT_EQ(CurrentPrompt().OpenFile(options), std::nullopt) << "no answer left: cancel";
    EXPECT_EQ(prompt.UnusedAnswers(), 0u);

    const auto questions = prompt.Questions();
    ASSERT_EQ(questions.size(), 6u);
    EXPECT_EQ(questions[0].kind, ScriptedPrompt::Kind::Message);
    EXPECT_TRUE(questions[0].topmost);
    EXPECT_EQ(questions[1].text, "Delete?");
    EXPECT_TRUE(questions[1].answered);
    EXPECT_FALSE(questions[2].answered);
    EXPECT_EQ(questions[3].kind, ScriptedPrompt::Kind::SaveFile);
    EXPECT_EQ(questions[3].options.defaultExtension, "kpf");
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"Saved."});
}

TEST(ScriptedPrompt, DefaultPromptAnswersSafely) {
    SetCurrentPrompt(nullptr);
    EXPECT_FALSE(CurrentPrompt().AskYesNo("Reset every key?"));
    EXPECT_EQ(CurrentPrompt().OpenFile({}), std::nullopt);
    EXPECT_EQ(CurrentPrompt().SaveFile({}), std::nullopt);
}

TEST(FileDialogPlan, TranslatesTheProgramsFilterToQtNameFilters) {
    FileDialogOptions options;
    options.filter = "(*.kpf)|*.kpf|(*.*)|*.*||";
    FileDialogPlan plan = PlanFileDialog(options);
    EXPECT_EQ(plan.nameFilters, (std::vector<std::string>{"(*.kpf) (*.kpf)", "(*.*) (*)"}));
    EXPECT_TRUE(plan.labelsOnly);

    options.filter = "Profiles|*.kpf;*.bak|Programs|*||";
    plan = PlanFileDialog(options);
    EXPECT_EQ(plan.nameFilters,
              (std::vector<std::string>{"Profiles (*.kpf *.bak)", "Programs (*)"}));

    options.filter = "|*.kpf|dangling";  // no label; a label without a pattern is dropped
    plan = PlanFileDialog(options);
    EXPECT_EQ(plan.nameFilters, std::vector<std::string>{"(*.kpf)"});
    EXPECT_FALSE(plan.labelsOnly);

    options.filter = "";
    EXPECT_TRUE(PlanFileDialog(options).nameFilters.empty());
}

TEST(FileDialogPlan, SplitsTheInitialNameIntoFolderAndSuggestedFile) {
    FileDialogOptions options;
    options.filter = "(*.kpf)|*.kpf||";
    options.initialName = "/home/ana/.local/share/Varkon QX480 Driver/New profile.kpf";
    FileDialogPlan plan = PlanFileDialog(options);
    EXPECT_EQ(plan.folder, "/home/ana/.local/share/Varkon QX480 Driver");
    EXPECT_EQ(plan.fileName, "New profile.kpf");

    options.initialName = "/data/*.kpf";  // a pattern suggests no file
    plan = PlanFileDialog(options);
    EXPECT_EQ(plan.folder, "/data");
    EXPECT_EQ(plan.fileName, "");

    options.initialName = "*.kpf";
    options.initialFolder = "/srv";
    options.filter = "";
    plan = PlanFileDialog(options);
    EXPECT_EQ(plan.folder, "/srv");
    EXPECT_EQ(plan.nameFilters, std::vector<std::string>{"(*.kpf)"});
}

}  // namespace
}  // namespace qx::platform
