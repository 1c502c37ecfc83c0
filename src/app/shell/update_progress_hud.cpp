#include "app/shell/update_progress_hud.h"

#include "core/base/system_clock.h"
#include "core/text/l10n.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <QWidget>

#include <cerrno>
#include <csignal>

UpdateProgressHud::UpdateProgressHud(Clock& clock, QString version, std::optional<qint32> parentPid,
                                     ProcessAlive alive, QObject* parent)
    : QObject(parent)
    , m_clock(clock)
    , m_version(std::move(version))
    , m_parentPid(parentPid)
    , m_alive(std::move(alive))
    , m_panel(std::make_unique<QWidget>(nullptr, Qt::Tool | Qt::FramelessWindowHint |
                                                     Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus))
{
    m_panel->setAttribute(Qt::WA_ShowWithoutActivating);
    auto* column = new QVBoxLayout(m_panel.get());
    column->addWidget(new QLabel(L10n::format(QStringLiteral("hud.updating"), {m_version}), m_panel.get()));
    auto* bar = new QProgressBar(m_panel.get());
    bar->setRange(0, 0);
    column->addWidget(bar);
    m_panel->resize(320, 80);
}

UpdateProgressHud::~UpdateProgressHud() = default;

bool UpdateProgressHud::processAlive(qint32 pid)
{
    // EPERM: the process exists but belongs to someone else.
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

void UpdateProgressHud::start()
{
    m_panel->show();
    m_deadline = m_clock.after(kLongestMs, this, [this] { finish(); });
    if (m_parentPid)
        m_poll = m_clock.every(kParentPollMs, this, [this] {
            if (!m_alive(*m_parentPid))
                finish();
        });
}

void UpdateProgressHud::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    m_poll.reset();
    m_deadline.reset();
    m_panel->hide();
    emit finished();
}

int UpdateProgressHud::runStandalone(const QString& version, std::optional<qint32> parentPid)
{
    SystemClock clock;
    UpdateProgressHud hud(clock, version, parentPid);
    QObject::connect(&hud, &UpdateProgressHud::finished, qApp, [] { QApplication::quit(); });
    hud.start();
    return QApplication::exec();
}
