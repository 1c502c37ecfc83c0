#pragma once

#include <QString>

// What the engine made of a recording.
struct Transcript {
    QString text;  // written as a person would write it
    QString heard; // the words as the recogniser heard them

    friend bool operator==(const Transcript&, const Transcript&) = default;
};
