#pragma once
// What the whole-day test needs around the real program: its own X server, real message boxes
// answered as a user would, modal windows found as they open; and what the day keeps between
// its steps, with the checks each step makes of the window, the Matrix, the program folder and
// the simulated synth's memory.

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <tuple>

#include "shell/LibrarianApp.h"
#include "support/DeepMindSim.h"
#include "support/MainRig.h"

namespace zanq::test {

// A private Xvfb; it picks a free display and names it on stdout (-displayfd 1), and ends by
// itself when the test's connection goes (-terminate), even after a crash.
class VirtualDisplay {
public:
    bool start() {
        xvfb_.start(QStringLiteral("Xvfb"),
                    QStringLiteral("-displayfd 1 -screen 0 1600x1000x24 -nolisten tcp -terminate")
                        .split(QLatin1Char(' ')));
        while (xvfb_.waitForStarted(5000) && !xvfb_.canReadLine() &&
               xvfb_.waitForReadyRead(10000)) {
        }
        const QByteArray number = xvfb_.readLine().trimmed();
        qputenv("DISPLAY", ":" + number);
        qputenv("QT_QPA_PLATFORM", "xcb");
        return !number.isEmpty();
    }
    ~VirtualDisplay() {
        xvfb_.terminate();
        xvfb_.waitForFinished(3000);
    }

private:
    QProcess xvfb_;
};

// Answers the program's message boxes from a queue, as the user would click them. A box that
// comes with no answer queued is closed with its escape button and counted as unexpected.
class MessageBoxAnswers : public QObject {
public:
    MessageBoxAnswers() { startTimer(20); }
    void answer(QMessageBox::StandardButton button) { queue_.push_back(button); }

    QStringList shown;       // every box's text, in order
    QStringList unexpected;  // boxes nobody expected

private:
    void timerEvent(QTimerEvent*) override {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        shown << box->text();
        QAbstractButton* button = queue_.empty() ? nullptr : box->button(queue_.front());
        if (queue_.empty())
            unexpected << box->text();
        else
            queue_.pop_front();
        if (!button)
            button = box->escapeButton();
        button ? button->click() : box->reject();
    }

    std::deque<QMessageBox::StandardButton> queue_;
};

// The window on top of the modal stack, if it is a T.
template <typename T>
T* ModalWindow() {
    return qobject_cast<T*>(QApplication::activeModalWidget());
}

// Runs work on the T once it is the modal window: for windows that run their own loop (exec),
// where the click that opens them returns only after they close.
template <typename T>
void WhenModal(std::function<void(T*)> work) {
    QTimer::singleShot(20, [work] {
        if (T* window = ModalWindow<T>(); window && window->isVisible())
            work(window);
        else
            WhenModal<T>(work);
    });
}

// Bank C ends at slot 120 and bank H stays empty, so the day has gaps to keep.
constexpr int kDayPatches = 6 * kSlots + 120;
using Shown = std::tuple<int, int, const char*>;  // bank, slot, text ("" for an empty cell)

struct DayState {
    QTemporaryDir folder;
    DeepMindSim sim;
    bool withSynth = false;
    std::unique_ptr<LibrarianApp> app;
    MessageBoxAnswers boxes;
    PatchRecord lead7;
    std::unique_ptr<MainUi> ui;

    frmMain& window() { return app->window(); }
    const Matrix& matrix() { return app->librarian().matrix(); }
    SysexFileCommands& files() { return *window().findChild<SysexFileCommands*>(); }
    QString path(const QString& name) const { return QDir(folder.path()).filePath(name); }
    static QByteArray Bytes(const PatchRecord& r) { return QByteArray::fromStdString(r); }

    // Whether the Matrix holds inMatrix patches, the library list and its status panel show
    // inLibrary, and the grid shows these cells; prints both sides when anything differs.
    bool shows(int inMatrix, int inLibrary, std::initializer_list<Shown> cells) {
        QStringList seen{QString::number(matrix().CountMatrixPatches()),
                         QString::number(ui->List1->count()), ui->StatusPanel[1]->text()};
        QStringList expected{QString::number(inMatrix), QString::number(inLibrary),
                             QStringLiteral("Patches in library : %1").arg(inLibrary)};
        for (const auto& [bank, slot, text] : cells) {
            seen << ui->gridModel->indexOf(At(bank, slot)).data().toString();
            expected << QString::fromLatin1(text);
        }
        if (seen != expected)
            qWarning("shows %s\nnot   %s", qPrintable(seen.join('|')),
                     qPrintable(expected.join('|')));
        return seen == expected;
    }
    // Whether the file is in the program folder, listed in File1 and holds exactly these bytes.
    bool fileHolds(const QString& name, const QByteArray& expected) {
        const QByteArray held = ReadWholeFile(path(name));
        const bool listed = ListedFiles(files()).contains(name);
        if (held != expected || !listed)
            qWarning("%s: %lld bytes, %lld expected, listed %d", qPrintable(name),
                     qlonglong(held.size()), qlonglong(expected.size()), listed);
        return held == expected && listed;
    }
    // Clicks the button; the modal T it opens.
    template <typename T>
    T* opens(QAbstractButton* button) {
        QTest::mouseClick(button, Qt::LeftButton);
        return ModalWindow<T>();
    }
    // Ticks these banks in the bank window, runs it to its end and closes it; whether it ended.
    bool runs(BankRunDialog* dialog, QPushButton* start, std::initializer_list<int> banks) {
        const bool ended = RunBanks(dialog, start, banks, 20000);
        dialog->close();
        return ended;
    }
    // Selects the named file in File1 and clicks the button under it.
    bool load(const QString& name, QPushButton* button) {
        const bool listed = SelectFile(files(), name);
        QTest::mouseClick(button, Qt::LeftButton);
        return listed && !files().isLoading();
    }
    // The Matrix as the all-banks file holds it: banks A..H, slots in order, gaps skipped.
    QByteArray matrixBytes(int bank = 0) {
        QByteArray all;
        for (int b = 1; b <= kBanks; ++b)
            for (int s = 1; s <= kSlots; ++s)
                if ((bank == 0 || bank == b) && !matrix().isEmpty(At(b, s)))
                    all += Bytes(matrix().at(At(b, s)));
        return all;
    }
};

}  // namespace zanq::test
