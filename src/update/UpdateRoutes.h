#pragma once
// The main window's update commands: the About command and the web-site links.

#include <QObject>

#include "update/modWeb.h"

namespace zanq {

class frmMain;
struct AppContext;

class UpdateRoutes : public QObject {
    Q_OBJECT
public:
    UpdateRoutes(frmMain& window, AppContext& context, UpdateSettings settings);
    ~UpdateRoutes() override;

    // CheckForUpdate, then the About window opens at once, modal; its notice follows the check.
    void AboutCommand();
    // Hands the maker's web site to the browser.
    void OpenSite();

private:
    frmMain& window_;
    AppContext& context_;
    modWeb* web_ = nullptr;
};

}  // namespace zanq
