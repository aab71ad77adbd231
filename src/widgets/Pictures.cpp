#include "widgets/Pictures.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include <initializer_list>

// The resources live in a static library: nothing would pull them into the program otherwise.
// Outside any namespace, as the macro requires.
static void initPictureResources() {
    Q_INIT_RESOURCE(virelo);
}

namespace {

void loadPictures() {
    [[maybe_unused]] static const bool loaded = (initPictureResources(), true);
}

QPixmap render(const QString& name, int size) {
    loadPictures();
    QSvgRenderer renderer(QStringLiteral(":/pictures/%1.svg").arg(name));
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

// Rendered here rather than through Qt's SVG icon plugin, so a missing plugin cannot leave a
// window without its icon. Window icons never need more than these sizes.
QIcon icon(const QString& name) {
    QIcon result;
    for (int size : {16, 24, 32, 48, 64})
        result.addPixmap(render(name, size));
    return result;
}

constexpr int CursorSize = 32;
constexpr int HotSpotX = 12;
constexpr int HotSpotY = 9;

} // namespace

// Each icon is rendered once per run: dialogs and the keyboard window are made anew each time.
QIcon staffIcon() {
    static const QIcon staff = icon(QStringLiteral("staff"));
    return staff;
}

QIcon informationIcon() {
    static const QIcon information = icon(QStringLiteral("information"));
    return information;
}

QIcon shuttleIcon() {
    static const QIcon shuttle = icon(QStringLiteral("shuttle"));
    return shuttle;
}

QCursor handCursor() {
    return QCursor(render(QStringLiteral("hand"), CursorSize), HotSpotX, HotSpotY);
}
