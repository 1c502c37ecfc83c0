#include "app/shell/update_progress_hud.h"

#include "core/base/system_clock.h"
#include "core/text/l10n.h"

#include "ui/kit/kit_label.h"
#include "ui/kit/quenda_mark.h"
#include "ui/kit/spinner.h"

#include <QApplication>
#include <QHBoxLayout>
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
    m_panel->setAutoFillBackground(true);
    m_panel->setBackgroundRole(QPalette::Window);
    auto* row = new QHBoxLayout(m_panel.get());
    row->setContentsMargins(18, 16, 22, 16);
    row->setSpacing(12);
    row->addWidget(new QuendaMark(32, m_panel.get()));
    row->addWidget(new KitLabel(L10n::format(QStringLiteral("hud.updating"), {m_version}),
                                TextRole::BodyStrong, Scheme::Text::Primary, m_panel.get()),
                   1);
    row->addWidget(new Spinner(m_clock, 16, m_panel.get()));
    m_panel->resize(m_panel->sizeHint().expandedTo(QSize(320, 0)));
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
