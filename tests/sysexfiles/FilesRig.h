#pragma once
// The main window with the file pane installed over a scratch folder, and the small tools the
// file pane's tests share.

#include <sys/stat.h>

#include <QtWidgets>
#include <functional>

#include "support/MainRig.h"
#include "sysexfiles/InstallSysexFiles.h"

namespace zanq::test {

struct Rig : MainRig {
    Rig() : MainRig({InstallSysexFiles}) {}
    // The four Load buttons, 1 for enabled.
    QString buttons() const {
        QString s;
        for (QPushButton* b :
             {ui.cmdLoadInMatrix, ui.cmdLoadPatchlist, ui.cmdLoadPatchListMatrix, ui.cmdLoadAll})
            s += b->isEnabled() ? '1' : '0';
        return s;
    }
    void waitForLoad() const { QTRY_VERIFY_WITH_TIMEOUT(!files()->isLoading(), 20000); }
    void pipe(const QString& name) const {
        QVERIFY(::mkfifo(QFile::encodeName(dir.filePath(name)), 0600) == 0);
    }
    void click(int fileRow, bool twice = false) const {
        const QPoint at = ui.File1->visualRect(ui.File1->model()->index(fileRow, 0)).center();
        QTest::mouseClick(ui.File1->viewport(), Qt::LeftButton, {}, at);
        if (twice)
            QTest::mouseDClick(ui.File1->viewport(), Qt::LeftButton, {}, at);
    }
};

// Runs a check whenever the watched widget is shown.
struct OnShow : QObject {
    std::function<void()> check;
    OnShow(QWidget* widget, std::function<void()> c) : check(std::move(c)) {
        widget->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show)
            check();
        return false;
    }
};

// n records named prefix0, prefix1... at the bank's first programs.
inline std::string Series(const std::string& prefix, int bank, int n, int seed = 0) {
    std::string bytes;
    for (int p = 0; p < n; ++p)
        bytes += MakeRecord(prefix + std::to_string(p), bank, p, seed);
    return bytes;
}

}  // namespace zanq::test
