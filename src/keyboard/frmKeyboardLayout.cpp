// The keyboard window as it stands before any of its code has run.
#include "keyboard/KeyboardKey.h"
#include "keyboard/frmKeyboard.h"
#include "training/NoteModel.h"
#include "widgets/DrawnElements.h"
#include "widgets/Fonts.h"
#include "widgets/Pictures.h"
#include "widgets/Twips.h"

#include <QFrame>
#include <QLabel>

namespace {

constexpr double ClientWidth = 11032;
constexpr double ClientHeight = 2170;

constexpr std::uint32_t Black = 0;

constexpr double KeyTop = 240;
constexpr double WhiteLeft = 240, WhiteStep = 480, WhiteWidth = 495, WhiteHeight = 1575;
constexpr double BlackOffset = 360, BlackWidth = 255, BlackHeight = 975;
constexpr double LastBlackWidth = 135; // cut off at the right end of the last white key

// The white keys a black key follows; none after 3, 6 and 10, as on a piano from F upwards.
constexpr std::array<int, 11> BlackAfter = {0, 1, 2, 4, 5, 7, 8, 9, 11, 12, 14};

int widestName(const QFontMetrics& metrics) {
    int widest = 0;
    for (Clef clef : {Clef::Violin, Clef::Bass})
        for (int i = 0; i < NoteCount; ++i)
            widest = std::max(widest, metrics.horizontalAdvance(noteName(clef, i)));
    return widest;
}

// The layout's label is narrow, made for "f''". Longer names (G3, sol'') get up to the key's
// width, centred, and a smaller font where even that is too narrow.
void fitLabelToNames(QLabel* label, int keyWidth) {
    int widest = widestName(label->fontMetrics());
    if (widest <= label->width())
        return;
    const int room = keyWidth - 2;
    QFont font = label->font();
    while (widest > room && font.pointSizeF() > 1) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        widest = widestName(QFontMetrics(font));
    }
    label->setFont(font);
    label->setGeometry((keyWidth - widest) / 2, label->y(), widest, label->height());
}

void setBackground(QWidget* widget, std::uint32_t colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, fromVbColor(colour));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

void frmKeyboard::LayoutAnwenden() {
    setWindowTitle(tr("Keyboard"));
    setWindowIcon(shuttleIcon());
    resize(twipsClientSize(ClientWidth, ClientHeight));
    setBackground(this, VbColor::Blue);

    for (int i = 0; i < NoteCount; ++i) {
        auto* key = new KeyboardKey(this);
        key->setGeometry(twipsRect(WhiteLeft + WhiteStep * i, KeyTop, WhiteWidth, WhiteHeight));
        key->setBackColor(fromVbColor(VbColor::White));
        picKeyboard[i] = key;

        // The layout's first label only holds "f"; the bass clef's "F" needs the room the
        // others have.
        auto* label = new QLabel(QStringLiteral("f"), key);
        label->setGeometry(twipsRect(120, 1080, 255, 495));
        label->setFont(msSansSerif(11.64));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        fitLabelToNames(label, key->width());
        lblKeyboard[i] = label;
    }

    // Made after the white keys, so they lie above them and take the clicks on the covered parts.
    for (std::size_t j = 0; j < BlackAfter.size(); ++j) {
        auto* key = new QFrame(this);
        const double width = j + 1 == BlackAfter.size() ? LastBlackWidth : BlackWidth;
        key->setGeometry(twipsRect(WhiteLeft + BlackOffset + WhiteStep * BlackAfter[j], KeyTop,
                                   width, BlackHeight));
        key->setFrameStyle(QFrame::Box | QFrame::Plain);
        setBackground(key, Black);
        Picture1[j] = key;
    }
}
