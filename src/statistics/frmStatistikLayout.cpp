// The statistics window: the choice at the top, the two charts, the texts and the commands.
#include "statistics/frmStatistik.h"
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
    setWindowTitle(tr("Statistik"));
    setWindowIcon(staffIcon());
    resize(860, 740);

    auto* outer = new QVBoxLayout(this);
    auto* choices = new QHBoxLayout;
    cboSchluessel = choice(this, {tr("Violinschlüssel"), tr("Bassschlüssel")});
    cboArt = choice(this, {tr("Lesen"), tr("Gehör-Training"), tr("beide")});
    cboArt->setCurrentIndex(2);
    cboZeitraum = choice(this, {tr("7 Tage"), tr("30 Tage"), tr("alles")});
    cboZeitraum->setCurrentIndex(2);
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

    chtNoten = chartIn(outer, tr("Fehler je Note"),
                       tr("Anteil der Fehler und Median der Antwortzeit je Note"));
    chtUebungen = chartIn(outer, tr("Fehler je beendeter Übung"),
                          tr("Fehler je beendeter Übung im Lauf der Zeit"));

    auto* texts = new QHBoxLayout;
    lblVerwechslungen = new QLabel(this);
    lblVerwechslungen->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblSummen = new QLabel(this);
    lblSummen->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    texts->addWidget(lblVerwechslungen, 1);
    texts->addWidget(lblSummen, 1);
    outer->addLayout(texts);

    auto* commands = new QHBoxLayout;
    cmdCsv = new QPushButton(tr("Als CSV speichern…"), this);
    cmdLoeschen = new QPushButton(tr("Verlauf löschen…"), this);
    cmdSchliessen = new QPushButton(tr("Schließen"), this);
    commands->addWidget(cmdCsv);
    commands->addWidget(cmdLoeschen);
    commands->addStretch();
    commands->addWidget(cmdSchliessen);
    outer->addLayout(commands);
}
