#pragma once

class QWidget;

namespace sundrel::app {

// Puts a look on the application: a widget style and a palette per look id,
// each visibly its own; ids outside the table get the Office 2007 blue look's
// style without its panel colour.
void applyLookStyle(int lookId, QWidget* mainWindow);

}  // namespace sundrel::app
