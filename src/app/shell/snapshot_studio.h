#pragma once

#include "app/shell/snapshot.h"
#include "core/model/speech_server.h"
#include "core/state/app_state.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QList>
#include <QSize>

#include <functional>
#include <memory>
#include <optional>

class AppCommands;
class Clock;
class DemoDesktop;
class MainView;
class OpenAIKeyStore;
class QWidget;
class StateFiles;

// What the main window's snapshot scenes draw with, and the scenes themselves in order.
namespace SnapshotStudio {

// Draws windows and floating views into PNG files of one folder and lists what it drew.
class Renderer {
public:
    explicit Renderer(const QString& directory);

    // arrange runs once the window is laid out, before it is drawn.
    void window(QWidget& view, QSize size, const QString& name, const std::function<void()>& arrange = {});
    // The overlay floats over the desktop: drawn on a plain backdrop of the given colour.
    void floating(QWidget& view, QSize size, const QColor& backdrop, const QString& name);
    void image(const QImage& picture, const QString& name);

    QList<Snapshot::Shot> shots() const { return m_shots; }

private:
    QDir m_out;
    QList<Snapshot::Shot> m_shots;
};

inline const QSize mainSize(1000, 700);

// What the window scenes of one scheme draw with: the demonstration services, the state they
// share, and the main window most of them show.
struct Studio {
    std::function<AppState::Services(StateFiles&)> services;
    AppCommands& commands;
    Clock& clock;
    DemoDesktop& desktop;
    StateFiles& files;
    AppState& state;
    Renderer& render;
    OpenAIKeyStore& keys;
    std::unique_ptr<MainView> shared;

    ~Studio();
    MainView& main();
};

// One window's picture, drawn in each scheme under the scheme's file name. Scenes run in order,
// each from the state the one before left.
struct WindowScene {
    QString name;
    std::function<void(Studio&, const QString& file)> shoot;
};

// The ready engine's status, as the supervisor words it.
QString readyText(const std::optional<SpeechServer>& server);
// The demonstration data the pages show: styles and applications, and a dictionary.
void stageStyles(AppState& state);
void stageDictionary(AppState& state);

// The main window's scenes, in the order they are drawn.
QList<WindowScene> windowScenes();

} // namespace SnapshotStudio
