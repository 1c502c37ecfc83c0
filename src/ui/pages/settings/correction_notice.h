#pragma once

#include <QWidget>

class AppCommands;
class AppState;
class KitLabel;

// One line that says what goes missing while no correction provider answers, ending in a link to
// the correction section of the settings. Shown only while the engine is ready and says so: before
// that, no provider answers whatever is set up.
class CorrectionNotice final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CorrectionNotice)

public:
    // text: what the host loses without a provider.
    CorrectionNotice(AppState& state, AppCommands& commands, const QString& text, QWidget* parent = nullptr);

    static bool needed(const AppState& state);
    KitLabel* label() const { return m_label; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void follow();
    void write();

    AppState& m_state;
    QString m_text;
    KitLabel* m_label;
};
