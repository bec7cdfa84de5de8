// The update window's boot request under every fault of the keyboard, driven through its real
// widgets: the request is only written, never answered, so it is done exactly when it could be
// written; then the updater starts and the window closes. One that could not be written says
// so and keeps the window open with the updater chosen.

#include "update/UpdateDialog.h"

#include "mainwindow/WindowFaultMatrix.h"
#include "shell/lang/Language.h"
#include "support/ModalAnswers.h"

#include "UpdaterScript.h"

#include <QDir>
#include <QFile>

namespace vantor::test {
namespace {

UpdateDialog& Update(WindowFaultMatrix& t) {
    return t.Window().UpdateWindow();
}
// An updater of its own for each run, so that one started earlier cannot be taken for it.
QString Updater(int run) {
    return AppPaths::Current()->PackageFolder() + QStringLiteral("/flash%1.sh").arg(run);
}

const std::vector<WindowFlow>& UpdateFlows() {
    static const std::vector<WindowFlow> flows = {
        {"boot_request",
         [](WindowFaultMatrix& t, int run) {
             ASSERT_TRUE(QDir().mkpath(AppPaths::Current()->PackageFolder()));
             ASSERT_TRUE(WriteUpdaterScript(Updater(run)));
             UpdateDialog& dialog = Update(t);
             dialog.reject();
             dialog.show();
             ModalAnswers answers({ChooseFile(Updater(run))});
             dialog.Button(UpdateDialog::kOpenButton)->click();
             ASSERT_EQ(dialog.Handoff().Chosen(), Updater(run));
         },
         [](WindowFaultMatrix& t, int) { Update(t).Button(UpdateDialog::kUpdateButton)->click(); },
         [](WindowFaultMatrix& t, int) {
             return !Update(t).isVisible() && Update(t).Handoff().Chosen().isEmpty();
         },
         [](WindowFaultMatrix& t, int) {
             const std::vector<CommandReport> requests = t.Requests();
             return requests.size() == 1 && requests[0].command == kCmdEnterBootMode;
         },
         [](WindowFaultMatrix& t, int run, bool done, const QStringList& messages) {
             const QString started = Updater(run) + ".pwd";
             if (done) {
                 EXPECT_EQ(messages, QStringList());
                 EXPECT_TRUE(WaitUntil([&started] { return QFile::exists(started); }))
                     << "the updater did not start";
                 return;
             }
             EXPECT_EQ(messages, QStringList{LanguageText("UPDATE_NO_BOOT_MODE")});
             EXPECT_TRUE(Update(t).isVisible());
             EXPECT_EQ(Update(t).Handoff().Chosen(), Updater(run)) << "the choice stays";
             EXPECT_FALSE(QFile::exists(started)) << "the updater started";
         },
         true},
    };
    return flows;
}

class UpdateFaultMatrix : public WindowFaultMatrix {
protected:
    void TearDown() override {
        Update(*this).reject();
        WindowFaultMatrix::TearDown();
    }
};

TEST_P(UpdateFaultMatrix, TheWindowShowsWhatTheKeyboardTookAndWorksAfterwards) {
    RunCell(UpdateFlows());
}

INSTANTIATE_TEST_SUITE_P(EveryFault, UpdateFaultMatrix,
                         testing::ValuesIn(MatrixCells(UpdateFlows().size())),
                         CellNamer(UpdateFlows()));

}  // namespace
}  // namespace vantor::test
