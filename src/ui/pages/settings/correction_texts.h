#pragma once

#include <QString>

// Texts the correction section's rows share.
namespace CorrectionTexts {

// A control's name for assistive tools, with the endpoint's number: "Model of endpoint 2".
QString ofEndpoint(const QString& title, int number);
// The provider's name for a stored kind, or the kind itself where the table names none.
QString kind(const QString& raw);

} // namespace CorrectionTexts
