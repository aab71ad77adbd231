#include "widgets/BackColor.h"

#include "widgets/Contrast.h"
#include "widgets/DrawnElements.h"
#include "widgets/Twips.h"

#include <QEvent>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <qdrawutil.h>

namespace {

constexpr double ThickBorderPixels = 3;

// Paints the buttons it watches itself: styles shade a button's face with a gradient and pale
// it when the button is disabled, and the answer buttons must show their colour as it is. The
// caption and the focus mark stay the style's.
class FlatFace : public QObject {
public:
    using QObject::QObject;

    bool thickBorder = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint)
            return false;
        paint(*static_cast<QPushButton*>(watched));
        return true;
    }

private:
    void paint(QPushButton& button) const {
        QStylePainter painter(&button);
        QStyleOptionButton option;
        option.initFrom(&button);
        option.text = button.text();
        option.state |= button.isDown() ? QStyle::State_Sunken : QStyle::State_Raised;

        const QBrush face = button.palette().button();
        qDrawWinButton(&painter, button.rect(), button.palette(), button.isDown(), &face);
        if (thickBorder) {
            painter.setPen(
                QPen(Qt::black, ThickBorderPixels, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            painter.setBrush(Qt::NoBrush);
            const double inset = ThickBorderPixels / 2;
            painter.drawRect(QRectF(button.rect()).adjusted(inset, inset, -inset, -inset));
        }

        QStyleOptionButton caption = option;
        caption.rect =
            button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
        painter.drawControl(QStyle::CE_PushButtonLabel, caption);
        if (option.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(option);
            focus.rect =
                button.style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, &button);
            painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
        }
    }
};

FlatFace* flatFace(QPushButton* button) {
    auto* face = button->findChild<FlatFace*>(QString(), Qt::FindDirectChildrenOnly);
    if (!face) {
        face = new FlatFace(button);
        button->installEventFilter(face);
    }
    return face;
}

} // namespace

void setBackColor(QPushButton* button, std::uint32_t colour) {
    // Only the roles set here override what the button inherits: back on white, a disabled
    // caption is pale again.
    QPalette palette;
    palette.setColor(QPalette::Button, fromVbColor(colour));
    // A red or green face names a note the learner compares while the row is disabled: its
    // caption keeps the normal text colour.
    if (colour != VbColor::White) {
        const QColor text = button->palette().color(QPalette::Active, QPalette::ButtonText);
        const QColor face = fromVbColor(colour);
        const QColor readable = contrastRatio(face, text) >= ReadableContrast ? text : Qt::white;
        palette.setColor(QPalette::ButtonText, readable);
        palette.setColor(QPalette::Disabled, QPalette::ButtonText, readable);
    }
    button->setPalette(palette);
    flatFace(button);
}

void setThickBorder(QPushButton* button, bool thick) {
    flatFace(button)->thickBorder = thick;
    button->update();
}
