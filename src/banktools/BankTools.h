#pragma once
// Wires the bank utilities to the main window: "Banks &Utils" opens BANKS, Utils > Clear opens
// CLEAR and "S&earch" opens Search, each a fresh modal window.

namespace zanq {

class frmMain;
struct AppContext;

void InstallBankTools(frmMain& window, AppContext& context);

}  // namespace zanq
