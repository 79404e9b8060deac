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

    connect(&window_, &frmMain::aboutRequested, this, &UpdateRoutes::mnuAbout_triggered);
    connect(&window_, &frmMain::titleClicked, this, &UpdateRoutes::Image3_clicked);
    connect(&window_, &frmMain::versionPanelClicked, this, &UpdateRoutes::StatusPanel4_clicked);
    connect(&window_, &frmMain::makerPanelClicked, this, &UpdateRoutes::StatusPanel1_clicked);
    connect(&window_, &frmMain::versionNoticeClicked, this, &UpdateRoutes::lblversion_clicked);

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
