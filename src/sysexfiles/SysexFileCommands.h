#pragma once
// The four Load commands over the file browser pane: the selected file (or every listed file)
// into the Matrix, the Patch Library or both, and files dropped from other programs. A load
// runs a slice at a time on the event loop (SysexLoadRun); while it runs the Load buttons are
// off, a single-file load disables File1 and shows the busy pointer, and "Load all" holds the
// whole browser still.

#include <QStringList>
#include <memory>

#include "sysexfiles/SysexFileBrowser.h"
#include "sysexfiles/SysexLoadRun.h"

namespace zanq {

struct AppContext;

class SysexFileCommands : public SysexFileBrowser {
    Q_OBJECT
public:
    SysexFileCommands(frmMain& window, AppContext& context);
    ~SysexFileCommands() override;

    // The four Load buttons.
    void cmdLoadInMatrix_clicked();
    void cmdLoadPatchlist_clicked();
    void cmdLoadPatchListMatrix_clicked();
    void cmdLoadAll_clicked();

    // Files dropped from another program, each in turn, as the selected file would be loaded.
    // Nothing happens while a load runs.
    void loadDroppedFiles(const QStringList& paths, bool toMatrix, bool toLibrary);

    bool isLoading() const { return SysexFileBrowser::isLoading(); }

signals:
    // A load has ended: every file of it read, or reported as unreadable.
    void loadFinished();

private:
    void runSingleFileLoad(bool toMatrix, bool toLibrary);
    void startLoad(std::vector<SysexLoadRun::File> files, bool toMatrix, bool toLibrary,
                   bool loadAll);
    void fileStarting(int index);
    void fileLoading();
    void fileEnded(int index, const QString& error);
    void loadEnded();
    void setBrowserEnabled(bool enabled);

    AppContext& context_;
    SysexLoadRun* run_ = nullptr;
    std::vector<QByteArray> loadAllNames_;  // the lines Load all goes through
    bool toLibrary_ = false;
    bool loadAll_ = false;
    bool fileOpen_ = false;
};

}  // namespace zanq
