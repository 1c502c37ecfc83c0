#pragma once

#include <QStringView>

// The number of non-empty pieces of text between whitespace characters (line breaks included).
int wordCount(QStringView text);
