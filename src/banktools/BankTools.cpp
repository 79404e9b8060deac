#include "banktools/BankTools.h"

#include "banktools/frmClear.h"
#include "banktools/frmSearch.h"
#include "banktools/frmSwap.h"
#include "shell/AppContext.h"
#include "shell/frmMain.h"

namespace zanq {

namespace {
class BankToolsCommands : public QObject {
public:
    BankToolsCommands(frmMain& window, AppContext& context)
        : QObject(&window), window_(window), context_(context) {
        setObjectName(QStringLiteral("BankToolsCommands"));
        connect(&window, &frmMain::banksRequested, this, &BankToolsCommands::cmdMatrixUtils_Click);
        connect(&window, &frmMain::clearRequested, this, &BankToolsCommands::mnuClear_Click);
        connect(&window, &frmMain::searchRequested, this, &BankToolsCommands::cmdSearch_Click);
    }

private:
    void cmdMatrixUtils_Click() { (new frmSwap(window_, context_.librarian))->show(); }

    void mnuClear_Click() {
        auto* clear = new frmClear(window_, context_.librarian, context_.prompter);
        clear->CheckOne();  // the window is created by this first use, in its design state
        clear->show();
    }

    void cmdSearch_Click() { (new frmSearch(window_, context_.librarian))->show(); }

    frmMain& window_;
    AppContext& context_;
};
}  // namespace

void InstallBankTools(frmMain& window, AppContext& context) {
    new BankToolsCommands(window, context);
}

}  // namespace zanq
