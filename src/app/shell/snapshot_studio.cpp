#include "app/shell/snapshot_studio.h"

#include "app/shell/demo_desktop.h"
#include "ui/shell/main_view.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>

namespace SnapshotStudio {

namespace {

// Texts that wrap take their height from their width: the rows and cards that hold them stand
// where they stay only on a later pass of the layouts.
void settle()
{
    for (int pass = 0; pass < 3; ++pass)
        QCoreApplication::processEvents();
}

} // namespace

Renderer::Renderer(const QString& directory)
    : m_out(directory)
{
}

void Renderer::window(QWidget& view, QSize size, const QString& name, const std::function<void()>& arrange)
{
    view.resize(size);
    view.setAttribute(Qt::WA_DontShowOnScreen);
    view.show();
    settle();
    if (arrange) {
        arrange();
        settle();
    }
    QPixmap shot = view.grab();
    // An open menu is a window of its own: drawn over the window where it stands, kept inside
    // the window's edges as a screen's edges would keep it, then closed.
    QPainter painter(&shot);
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top != &view && top->isVisible() && top->windowType() == Qt::Popup) {
            QRect at = top->geometry().translated(-view.geometry().topLeft());
            at.moveBottom(std::min(at.bottom(), view.rect().bottom()));
            at.moveTop(std::max(at.top(), 0));
            painter.drawPixmap(at.topLeft(), top->grab());
            top->close();
        }
    }
    painter.end();
    shot.save(m_out.filePath(name), "PNG");
    m_shots.append({name, size});
    view.hide();
}

void Renderer::floating(QWidget& view, QSize size, const QColor& backdrop, const QString& name)
{
    view.resize(size);
    view.setAttribute(Qt::WA_DontShowOnScreen);
    view.show();
    QCoreApplication::sendPostedEvents();
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(backdrop);
    // Grabbed rather than rendered into the backdrop: QWidget::render draws a child that carries
    // a graphics effect, as every card does, at twice its offset.
    QPainter(&image).drawPixmap(0, 0, view.grab());
    image.save(m_out.filePath(name), "PNG");
    m_shots.append({name, size});
    view.hide();
}

void Renderer::image(const QImage& picture, const QString& name)
{
    picture.save(m_out.filePath(name), "PNG");
    m_shots.append({name, picture.size()});
}

Studio::~Studio() = default;

MainView& Studio::main()
{
    if (!shared)
        shared = std::make_unique<MainView>(state, commands, &desktop, nullptr, &desktop, &keys);
    return *shared;
}

} // namespace SnapshotStudio
