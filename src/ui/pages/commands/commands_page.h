#pragma once

#include <QWidget>

// The commands page: the spoken commands for selected text. Until they are built it names its purpose.
class CommandsPage final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CommandsPage)

public:
    explicit CommandsPage(QWidget* parent = nullptr);
};
