// The statistics window: the choice at the top, the two charts, the texts and the commands.
#include "statistics/frmStatistik.h"
#include "training/ClefTable.h"
#include "widgets/Pictures.h"

#include <QBoxLayout>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStackedLayout>

#include <algorithm>

namespace {

QComboBox* choice(QWidget* parent, const QStringList& items) {
    auto* box = new QComboBox(parent);
    box->addItems(items);
    return box;
}

// A chart, with a text over it for when it has nothing to show.
QChart* chartIn(QBoxLayout* layout, const QString& title, const QString& accessibleName,
                const QString& emptyText, QLabel*& empty) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->legend()->setAlignment(Qt::AlignBottom);
    auto* view = new QChartView(chart);
    view->setRenderHint(QPainter::Antialiasing);
    // Both charts and the rows around them stay on a screen of 540 logical pixels (full HD at
    // twice the size).
    const QScreen* screen = QGuiApplication::primaryScreen();
    view->setMinimumHeight(screen ? std::min(220, screen->availableGeometry().height() / 3) : 220);
    view->setAccessibleName(accessibleName);
    // It cannot be worked with keys; its texts are read by the window's labels. Its viewport
    // would otherwise still be offered to screen readers as a nameless focusable area.
    view->setFocusPolicy(Qt::NoFocus);
    view->viewport()->setFocusPolicy(Qt::NoFocus);
    empty = new QLabel(emptyText);
    empty->setAlignment(Qt::AlignCenter);
    empty->setWordWrap(true);
    empty->setAttribute(Qt::WA_TransparentForMouseEvents);
    empty->hide();
    auto* stack = new QStackedLayout;
    stack->setStackingMode(QStackedLayout::StackAll);
    stack->addWidget(empty);
    stack->addWidget(view);
    layout->addLayout(stack, 1);
    return chart;
}

} // namespace

void frmStatistik::LayoutAnwenden() {
    setWindowTitle(tr("Statistik"));
    setWindowIcon(staffIcon());
    resize(860, 740);

    auto* outer = new QVBoxLayout(this);
    auto* choices = new QHBoxLayout;
    QStringList clefs;
    for (const ClefRow& row : clefTable())
        clefs.append(clefName(row.clef));
    cboSchluessel = choice(this, clefs);
    cboArt = choice(this, {tr("Lesen"), tr("Gehör-Training"), tr("beide")});
    cboArt->setCurrentIndex(2);
    cboZeitraum = choice(this, {tr("7 Tage"), tr("30 Tage"), tr("alles")});
    cboZeitraum->setCurrentIndex(2);
    cboTonart = choice(this, {tr("Alle Tonarten")});
    cboTonart->setObjectName(QStringLiteral("cboTonart"));
    cboTonart->hide();
    cboPhrasen = choice(
        this, {tr("Einzelne Noten und Phrasen"), tr("Nur einzelne Noten"), tr("Nur Phrasen")});
    cboPhrasen->setObjectName(QStringLiteral("cboPhrasen"));
    cboPhrasen->hide();
    for (auto [caption, box] : {std::pair{tr("&Schlüssel:"), cboSchluessel},
                                {tr("&Art:"), cboArt},
                                {tr("&Zeitraum:"), cboZeitraum}}) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(box);
        choices->addWidget(label);
        choices->addWidget(box);
        choices->addSpacing(16);
    }
    choices->addStretch();
    outer->addLayout(choices);
    // A row of its own: beside the others its long key names would widen the window past the
    // room beside the main window on a small screen. The choice of phrases shares it.
    auto* keyChoice = new QHBoxLayout;
    lblTonart = new QLabel(tr("&Tonart:"), this);
    lblTonart->setBuddy(cboTonart);
    lblTonart->hide();
    keyChoice->addWidget(lblTonart);
    keyChoice->addWidget(cboTonart);
    keyChoice->addSpacing(16);
    lblPhrasen = new QLabel(tr("&Noten je Aufgabe:"), this);
    lblPhrasen->setBuddy(cboPhrasen);
    lblPhrasen->hide();
    keyChoice->addWidget(lblPhrasen);
    keyChoice->addWidget(cboPhrasen);
    keyChoice->addStretch();
    outer->addLayout(keyChoice);

    lblProblem = new QLabel(this);
    lblProblem->setWordWrap(true);
    lblProblem->setAlignment(Qt::AlignCenter);
    lblProblem->hide();
    outer->addWidget(lblProblem, 1);

    chtNoten = chartIn(outer, tr("Fehler je Note"),
                       tr("Anteil der Fehler und Median der Antwortzeit je Note"),
                       tr("In dieser Auswahl gibt es noch keine Aufgaben."), lblNotenLeer);
    chtUebungen = chartIn(
        outer, tr("Fehler je beendeter Übung"), tr("Fehler je beendeter Übung im Lauf der Zeit"),
        tr("In dieser Auswahl gibt es noch keine beendete Übung."), lblUebungenLeer);
    lblNotenLeer->setObjectName(QStringLiteral("lblNotenLeer"));
    lblUebungenLeer->setObjectName(QStringLiteral("lblUebungenLeer"));
    // Over their charts, now that both are the window's.
    lblNotenLeer->raise();
    lblUebungenLeer->raise();

    auto* texts = new QHBoxLayout;
    lblVerwechslungen = new QLabel(this);
    lblVerwechslungen->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblSummen = new QLabel(this);
    lblSummen->setObjectName(QStringLiteral("lblSummen"));
    lblSummen->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    texts->addWidget(lblVerwechslungen, 1);
    texts->addWidget(lblSummen, 1);
    outer->addLayout(texts);

    auto* commands = new QHBoxLayout;
    // Their letters differ from the choices' S, A and Z.
    cmdCsv = new QPushButton(tr("Als &CSV speichern…"), this);
    cmdCsv->setObjectName(QStringLiteral("cmdCsv"));
    cmdLoeschen = new QPushButton(tr("&Verlauf löschen…"), this);
    cmdSchliessen = new QPushButton(tr("Sch&ließen"), this);
    // Beside it while it saves.
    prgCsv = new QProgressBar(this);
    prgCsv->setObjectName(QStringLiteral("prgCsv"));
    prgCsv->setRange(0, 1000);
    prgCsv->setTextVisible(false);
    prgCsv->setAccessibleName(tr("Speichern als CSV"));
    prgCsv->hide();
    cmdCsvAbbrechen = new QPushButton(tr("A&bbrechen"), this);
    cmdCsvAbbrechen->setObjectName(QStringLiteral("cmdCsvAbbrechen"));
    cmdCsvAbbrechen->setAccessibleName(tr("Speichern als CSV abbrechen"));
    cmdCsvAbbrechen->hide();
    commands->addWidget(cmdCsv);
    commands->addWidget(prgCsv);
    commands->addWidget(cmdCsvAbbrechen);
    commands->addWidget(cmdLoeschen);
    commands->addStretch();
    commands->addWidget(cmdSchliessen);
    outer->addLayout(commands);
}
