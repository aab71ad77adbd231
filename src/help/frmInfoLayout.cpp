// The about dialog as it stands before any of its code has run.
#include "help/Publisher.h"
#include "help/frmInfo.h"
#include "widgets/Fonts.h"
#include "widgets/Pictures.h"
#include "widgets/Twips.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr double ClientWidth = 6762;
constexpr double ClientHeight = 6272;

constexpr double LeftColumn = 126;
constexpr double RightColumn = 3654;
constexpr std::array<double, 6> ContactTops = {1512, 1890, 2268, 2646, 3024, 3402};
constexpr double ContactWidth = 3402;
constexpr double ContactHeight = 252;
constexpr double ContactPointSize = 11.64;

// Liberation Sans, which msSansSerif picks, has the metrics of Arial.
QFont arial(double pointSize, bool bold = false) {
    return msSansSerif(pointSize, bold);
}

// A label keeps its place, but grows to its text where the substitute font runs wider or
// taller than the original one.
QLabel* label(QWidget* parent, const QString& text, const QRect& geometry, const QFont& font,
              Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop) {
    auto* l = new QLabel(text, parent);
    l->setFont(font);
    l->setAlignment(alignment);
    const QSize needed = l->sizeHint();
    QRect fitted = geometry;
    if (needed.width() > fitted.width()) {
        const int grow = needed.width() - fitted.width();
        fitted.adjust(alignment & Qt::AlignHCenter ? -grow / 2 : 0, 0,
                      alignment & Qt::AlignHCenter ? grow - grow / 2 : grow, 0);
    }
    if (needed.height() > fitted.height())
        fitted.setHeight(needed.height());
    l->setGeometry(fitted);
    return l;
}

std::array<QLabel*, 6> contactColumn(QWidget* parent, const Publisher::ContactLines& lines,
                                     double left, const std::array<double, 6>& heights) {
    std::array<QLabel*, 6> labels{};
    for (std::size_t i = 0; i < lines.size(); ++i)
        labels[i] =
            label(parent, lines[i], twipsRect(left, ContactTops[i], ContactWidth, heights[i]),
                  msSansSerif(ContactPointSize, i == 0));
    return labels;
}

} // namespace

void frmInfo::LayoutAnwenden() {
    setWindowTitle(tr("Info"));
    setFixedSize(twipsClientSize(ClientWidth, ClientHeight));

    Label1 = label(this, QStringLiteral("Virelo 5.50 b"), twipsRect(126, 126, 6524, 616),
                   msSansSerif(23.28), Qt::AlignHCenter | Qt::AlignTop);
    Line1 = {0, 840, 6804, 840, true};
    Label9 = label(this, tr("Support:"), twipsRect(126, 1134, 966, 252),
                   msSansSerif(ContactPointSize, true));
    Label10 = label(this, tr("Vertrieb:"), twipsRect(3654, 1176, 1092, 252),
                    msSansSerif(ContactPointSize, true));
    lblSupport =
        contactColumn(this, Publisher::Support, LeftColumn,
                      {ContactHeight, ContactHeight, ContactHeight, 266, ContactHeight, 378});
    lblVertrieb = contactColumn(
        this, Publisher::Vertrieb, RightColumn,
        {ContactHeight, ContactHeight, ContactHeight, ContactHeight, ContactHeight, ContactHeight});
    Label17 = label(this, tr("weitere Informationen und Bestellung:"),
                    twipsRect(0, 4158, 6818, 266), arial(10.18), Qt::AlignHCenter | Qt::AlignTop);
    Label8 = label(this, Publisher::HomePage, twipsRect(0, 4410, 6762, 504), arial(12.37, true),
                   Qt::AlignHCenter | Qt::AlignTop);
    QPalette link = Label8->palette();
    link.setColor(QPalette::WindowText, fromVbColor(VbColor::Blue));
    Label8->setPalette(link);
    Label8->setCursor(handCursor());

    cmdReadme = new QPushButton(tr("Readme.txt"), this);
    cmdReadme->setGeometry(twipsRect(5010, 5096, 1575, 255));
    cmdOk = new QPushButton(tr("Ok"), this);
    cmdOk->setGeometry(twipsRect(252, 5670, 1935, 375));
    cmdOk->setDefault(true);
    // The address opens by Space or Return as by a click.
    Label8->setFocusPolicy(Qt::TabFocus);
    setTabOrder(cmdOk, cmdReadme);
    setTabOrder(cmdReadme, Label8);
}
