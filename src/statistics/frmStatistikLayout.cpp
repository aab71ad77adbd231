// The statistics window: the choice at the top, the two charts, the texts and the commands.
#include "statistics/frmStatistik.h"
#include "training/ClefTable.h"
#include "widgets/Pictures.h"

#include <QBoxLayout>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

namespace {

QComboBox* choice(QWidget* parent, const QStringList& items) {
    auto* box = new QComboBox(parent);
    box->addItems(items);
    return box;
}

QChart* chartIn(QBoxLayout* layout, const QString& title, const QString& accessibleName) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->legend()->setAlignment(Qt::AlignBottom);
    auto* view = new QChartView(chart);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumHeight(220);
    view->setAccessibleName(accessibleName);
    layout->addWidget(view, 1);
    return chart;
}

} // namespace

void frmStatistik::LayoutAnwenden() {
    setWindowTitle(QStringLiteral("Statistik"));
    setWindowIcon(staffIcon());
    resize(860, 740);

    auto* outer = new QVBoxLayout(this);
    auto* choices = new QHBoxLayout;
    QStringList clefs;
    for (const ClefRow& row : clefTable())
        clefs.append(clefName(row.clef));
    cboSchluessel = choice(this, clefs);
    cboArt = choice(
        this, {QStringLiteral("Lesen"), QStringLiteral("Gehör-Training"), QStringLiteral("beide")});
    cboArt->setCurrentIndex(2);
    cboZeitraum = choice(
        this, {QStringLiteral("7 Tage"), QStringLiteral("30 Tage"), QStringLiteral("alles")});
    cboZeitraum->setCurrentIndex(2);
    for (auto [caption, box] : {std::pair{QStringLiteral("&Schlüssel:"), cboSchluessel},
                                {QStringLiteral("&Art:"), cboArt},
                                {QStringLiteral("&Zeitraum:"), cboZeitraum}}) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(box);
        choices->addWidget(label);
        choices->addWidget(box);
        choices->addSpacing(16);
    }
    choices->addStretch();
    outer->addLayout(choices);

    chtNoten = chartIn(outer, QStringLiteral("Fehler je Note"),
                       QStringLiteral("Anteil der Fehler und Median der Antwortzeit je Note"));
    chtUebungen = chartIn(outer, QStringLiteral("Fehler je beendeter Übung"),
                          QStringLiteral("Fehler je beendeter Übung im Lauf der Zeit"));

    auto* texts = new QHBoxLayout;
    lblVerwechslungen = new QLabel(this);
    lblVerwechslungen->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblSummen = new QLabel(this);
    lblSummen->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    texts->addWidget(lblVerwechslungen, 1);
    texts->addWidget(lblSummen, 1);
    outer->addLayout(texts);

    auto* commands = new QHBoxLayout;
    cmdCsv = new QPushButton(QStringLiteral("Als CSV speichern…"), this);
    cmdLoeschen = new QPushButton(QStringLiteral("Verlauf löschen…"), this);
    cmdSchliessen = new QPushButton(QStringLiteral("Schließen"), this);
    commands->addWidget(cmdCsv);
    commands->addWidget(cmdLoeschen);
    commands->addStretch();
    commands->addWidget(cmdSchliessen);
    outer->addLayout(commands);
}
