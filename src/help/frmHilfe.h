#pragma once

#include <QCoreApplication>
#include <QDialog>
#include <QPointer>

class NoteChart;
class ProportionalResizer;
class QPushButton;

// The help window: the note charts of both clefs, on a second page those of the alto and tenor
// clefs, to keep open beside the main window, also
// during an exercise. There is never more than one.
class frmHilfe : public QDialog {
    Q_OBJECT

public:
    // Shows the help window, or brings the open one to the front. A new one opens centred on
    // the given window without belonging to it.
    static frmHilfe* showSingle(QWidget* mainWindow);

    NoteChart* Picture1 = nullptr; // treble clef, or alto
    NoteChart* Picture2 = nullptr; // bass clef, or tenor
    QPushButton* Ok = nullptr;
    QPushButton* cmdDrucken = nullptr;
    QPushButton* cmdWeitereSchluessel = nullptr; // turns between the two pages of charts
    ProportionalResizer* AutoResizer1 = nullptr;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    frmHilfe();
    void LayoutAnwenden();
    void cmdWeitereSchluessel_Click();

    QPointer<QWidget> m_mainWindow; // takes the focus back when the window closes
};
