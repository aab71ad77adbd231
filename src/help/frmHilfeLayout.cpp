// The help window as it stands before any of its code has run.
#include "help/NoteChart.h"
#include "help/frmHilfe.h"
#include "training/NoteModel.h"
#include "widgets/Pictures.h"
#include "widgets/ProportionalResizer.h"
#include "widgets/Twips.h"

#include <QPushButton>

namespace {

constexpr double ClientWidth = 9660;
constexpr double ClientHeight = 5152;

} // namespace

void frmHilfe::LayoutAnwenden() {
    setWindowTitle(tr("Hilfe"));
    setWindowIcon(informationIcon());
    resize(twipsClientSize(ClientWidth, ClientHeight));

    Picture1 = new NoteChart(Clef::Violin, this);
    Picture1->setGeometry(twipsRect(126, 378, 9380, 1806));
    Picture2 = new NoteChart(Clef::Bass, this);
    Picture2->setGeometry(twipsRect(126, 2520, 9394, 1820));

    Ok = new QPushButton(tr("Schließen"), this);
    Ok->setGeometry(twipsRect(126, 4620, 1575, 375));
    Ok->setToolTip(tr("Schließt den Dialog"));
    Ok->setDefault(true);
    cmdDrucken = new QPushButton(tr("Hilfe &drucken"), this);
    cmdDrucken->setGeometry(twipsRect(1806, 4620, 1575, 375));
    cmdDrucken->setAutoDefault(false);
    cmdDrucken->setEnabled(false);
    cmdDrucken->hide();
    setTabOrder(Ok, cmdDrucken);
    // Beside the hidden print button's place.
    cmdWeitereSchluessel = new QPushButton(tr("Alt- und Tenorschlüssel"), this);
    cmdWeitereSchluessel->setGeometry(twipsRect(3486, 4620, 2415, 375));
    setTabOrder(cmdDrucken, cmdWeitereSchluessel);

    AutoResizer1 = new ProportionalResizer(this);
}
