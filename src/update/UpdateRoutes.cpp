#include "update/UpdateRoutes.h"

#include "BuildConfig.h"
#include "shell/AppContext.h"
#include "shell/ClickableLabel.h"
#include "shell/frmMain.h"
#include "update/InstallUpdate.h"
#include "update/VersionCheck.h"
#include "update/frmAbout.h"

namespace zanq {

UpdateRoutes::UpdateRoutes(frmMain& window, AppContext& context, UpdateSettings settings)
    : QObject(&window),
      window_(window),
      context_(context),
      web_(new modWeb(std::move(settings), this)) {
    setObjectName(QStringLiteral("UpdateRoutes"));
    // A build without an update address has no notice to show, not even an empty one.
    window_.setVersionNoticeVisible(web_->isEnabled());
    connect(web_, &modWeb::checked, &window_, &frmMain::showVersionNotice);

    // "?" > About, the title block and status panel 4 open About; status panel 1 and the
    // notice open the web site.
    for (auto about :
         {&frmMain::aboutRequested, &frmMain::titleClicked, &frmMain::versionPanelClicked})
        connect(&window_, about, this, &UpdateRoutes::AboutCommand);
    for (auto site : {&frmMain::makerPanelClicked, &frmMain::versionNoticeClicked})
        connect(&window_, site, this, &UpdateRoutes::OpenSite);

    // The start-up check runs in the background; the window shows without waiting for it.
    web_->CheckForUpdate();
}

UpdateRoutes::~UpdateRoutes() = default;

void UpdateRoutes::AboutCommand() {
    web_->CheckForUpdate();

    auto* about = new frmAbout(&window_);
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->setWindowModality(Qt::ApplicationModal);
    about->lblversion->setText(QStringLiteral("version %1.%2.%3")
                                   .arg(build::kVersionMajor)
                                   .arg(build::kVersionMinor)
                                   .arg(build::kVersionRevision));
    ClickableLabel* notice = about->lblVersionWeb;
    notice->setVisible(web_->isEnabled());
    connect(web_, &modWeb::checked, notice,
            [notice](const QString& text) { ShowUpdateNotice(notice, text); });
    connect(about->lblVersionWeb, &ClickableLabel::clicked, this, &UpdateRoutes::OpenSite);
    connect(about->Label2, &ClickableLabel::clicked, this, &UpdateRoutes::OpenSite);
    about->show();
}

void UpdateRoutes::OpenSite() {
    if (context_.openUrl)
        context_.openUrl(SiteUrl());
}

void InstallUpdate(frmMain& window, AppContext& context) {
    InstallUpdate(window, context, UpdateSettingsFromEnvironment());
}

void InstallUpdate(frmMain& window, AppContext& context, UpdateSettings settings) {
    new UpdateRoutes(window, context, std::move(settings));
}

}  // namespace zanq
