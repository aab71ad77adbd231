#pragma once

#include <QCoreApplication>
#include <QDialog>

class NoteChart;
class ProportionalResizer;
class QPushButton;

// The help window: the note charts of both clefs, to keep open beside the main window, also
// during an exercise. There is never more than one.
class frmHilfe : public QDialog {
    Q_DECLARE_TR_FUNCTIONS(frmHilfe)

public:
    // Shows the help window, or brings the open one to the front. A new one opens centred on
    // the given window without belonging to it.
    static frmHilfe* showSingle(const QWidget* mainWindow);

    NoteChart* Picture1 = nullptr; // treble clef
    NoteChart* Picture2 = nullptr; // bass clef
    QPushButton* Ok = nullptr;
    QPushButton* cmdDrucken = nullptr;
    ProportionalResizer* AutoResizer1 = nullptr;

private:
    frmHilfe();
    void LayoutAnwenden();
};
