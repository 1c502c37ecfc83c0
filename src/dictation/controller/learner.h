#pragma once

#include "core/model/dictionary_item.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

// Learns dictionary entries from the user's corrections of pasted text.
class Learner {
public:
    using Learned = std::function<void(const QList<DictionaryItem>& items)>;

    virtual ~Learner() = default;

    // Ends any earlier watch; `learned` is dropped once context is destroyed.
    virtual void watch(const QString& inserted, QObject* context, Learned learned) = 0;
    virtual void stop() = 0;
};
