#pragma once

// The accessible side of the kit's buttons and pickers. Qt's own interfaces toggle a checkable
// button by setting its state and animate a press on a timer, so an assistive tool's action would
// change the look without telling the control's users; these take the path of a click instead.
// A picker also offers to take the focus, which Qt's combo box interface does not.
namespace KitAccessible {

// Installs the factory once; the kit's controls call it as they are made.
void install();

} // namespace KitAccessible
