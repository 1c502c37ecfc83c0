#include "ui/shell/permission_rows.h"

#include "core/state/app_state.h"
#include "core/text/l10n.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {

QString text(const char* key)
{
    return L10n::s(QString::fromLatin1(key));
}

} // namespace

PermissionRows::PermissionRows(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_microphone(new QLabel(this))
    , m_accessibility(new QLabel(this))
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(text("perm.microphone"), this), 0, 0);
    grid->addWidget(m_microphone, 0, 1);
    auto* open = new QPushButton(text("perm.open"), this);
    grid->addWidget(open, 0, 2);
    grid->addWidget(new QLabel(text("perm.accessibility"), this), 1, 0);
    grid->addWidget(m_accessibility, 1, 1);
    grid->setColumnStretch(1, 1);
    connect(open, &QPushButton::clicked, this, [this] { m_state.requestMicrophone(); });
    connect(&m_state, &AppState::micGrantedChanged, this, &PermissionRows::refresh);
    connect(&m_state, &AppState::axGrantedChanged, this, &PermissionRows::refresh);
    refresh();
}

void PermissionRows::refresh()
{
    m_microphone->setText(m_state.micGranted() ? text("perm.granted") : text("perm.missing"));
    m_accessibility->setText(m_state.axGranted() ? text("perm.granted") : text("perm.missing"));
}
