// The main window's "Hilfe" and "Info" buttons.
#include "forms/Form1.h"
#include "help/MHyperJump.h"
#include "help/RegisteredBrowser.h"
#include "help/frmHilfe.h"
#include "help/frmInfo.h"

namespace {

// Lives as long as the program, so the browser is looked up once per run.
MHyperJump& programHyperJump() {
    static MHyperJump module([] { return registeredBrowserCommand(); });
    return module;
}

} // namespace

void Form1::cmdHilfe_Click() {
    frmHilfe::showSingle(this);
}

void Form1::cmdInfo_Click() {
    frmInfo dialog({m_services.message, m_services.desktop, m_services.programDir},
                   programHyperJump(), this);
    m_services.runModal(dialog);
    activateWindow();
}
