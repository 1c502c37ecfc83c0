#pragma once

#include <QWidget>

// The dictionary page: the words spelled the user's way. Until they are built it names its purpose.
class DictionaryPage final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DictionaryPage)

public:
    explicit DictionaryPage(QWidget* parent = nullptr);
};
