#pragma once

class QWidget;

// Gives a label the heading role for assistive technology, so page titles can be jumped to.
namespace HeadingRole {

void mark(QWidget* label);
bool isMarked(const QWidget* widget);

} // namespace HeadingRole
