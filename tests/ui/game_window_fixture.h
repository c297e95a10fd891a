// A game window started on fake platform services, with a test stock in a temporary program
// folder and an empty local data folder.
#pragma once

#include "game/ui/click_label.h"
#include "game/ui/main_window.h"
#include "platform/fake/fakes.h"
#include "support/make_test_stock.h"
#include "support/temp_dir.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace tl::test {

inline std::string NoSlash(const std::string &folder)
{
    return folder.empty() || folder.back() != '/' ? folder : folder.substr(0, folder.size() - 1);
}

class GameWindowTest : public ::testing::Test {
protected:
    GameWindowTest()
    {
        fake.folders.program = NoSlash(programDir.path());
        fake.folders.localAppData = NoSlash(localDir.path());
    }

    void TearDown() override
    {
        if (window)
            window->hide();
        window.reset();
    }

    void WriteStock() { ASSERT_TRUE(WriteTestStockFile(programDir / "DudEzadu.qzk")); }

    // Starts the game; false when start-up ended the program.
    bool Start()
    {
        window = std::make_unique<Main>(services);
        window->endProgram = [this](int code) { exitCodes.push_back(code); };
        return window->Form_Load();
    }

    // Writes the stock and starts; the start must succeed.
    Main &Started()
    {
        WriteStock();
        EXPECT_TRUE(Start());
        return *window;
    }

    void Set(const std::string &section, const std::string &key, const std::string &value)
    {
        fake.settings.values[{"Farrowdel", section, key}] = value;
    }
    std::string Stored(const std::string &section, const std::string &key) const
    {
        return fake.settings.value(section, key);
    }

    std::string WorkingCopy() const { return localDir.path() + "Farrowdel/DudEzadu.qzk"; }

    QString Caption(int index) const { return window->Grid[index]->text(); }
    // Saves a picture of `w` (the window by default) into the folder named by TL_SCREENS, when
    // it is set.
    void Shot(const QString &name, QWidget *w = nullptr)
    {
        const QString dir = qEnvironmentVariable("TL_SCREENS");
        if (dir.isEmpty())
            return;
        QDir().mkpath(dir);
        (w ? w : window.get())->grab().save(dir + "/" + name);
    }
    QColor Back(QWidget *w) const { return w->palette().color(QPalette::Window); }

    FakePlatform fake;
    Platform services = fake.platform();
    TempDir programDir, localDir;
    std::unique_ptr<Main> window;
    std::vector<int> exitCodes;
};

// Opens the modal dialog `d` with `open` and runs `steps` while it is shown. The steps must end
// the showing; a dialog they leave open is a failure (and is closed).
template <class Dialog>
void WhileShown(Dialog &d, const std::function<void()> &open,
                const std::function<void(Dialog &)> &steps)
{
    bool ran = false;
    QTimer::singleShot(0, &d, [&] {
        ran = true;
        steps(d);
        if (d.isVisible()) {
            ADD_FAILURE() << "the dialog was left open";
            d.done(QDialog::Rejected);
        }
    });
    open();
    EXPECT_TRUE(ran);
    EXPECT_FALSE(d.isVisible());
}

// What the window system does to a shown window that is minimised and restored, or unmapped
// and mapped again: hide and show events the program did not ask for (spontaneous ones). Both
// ways are taken: through the window's state, and as a bare spontaneous show event.
inline void MinimiseAndRestore(QWidget &w)
{
    w.setWindowState(w.windowState() | Qt::WindowMinimized);
    QCoreApplication::processEvents();
    w.setWindowState(w.windowState() & ~Qt::WindowMinimized);
    QCoreApplication::processEvents();
    QShowEvent show;
    QSpontaneKeyEvent::setSpontaneous(&show);
    QCoreApplication::instance()->notify(&w, &show);
    QCoreApplication::processEvents();
}

inline QColor Q(Rgb c) { return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

} // namespace tl::test
