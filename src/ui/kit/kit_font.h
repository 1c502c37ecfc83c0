#pragma once

#include <QFont>

// The type scale: every text of the windows and the overlay is set in one of these roles, never in
// a size of its own. Sizes are the design's points (one point is one pixel at 96 dpi, the way the
// overlay measures); within a size the roles go from regular to semibold.
enum class TextRole {
    Title,         // 28 bold: a window's or a page's title
    DocumentTitle, // 18 semibold: the title field of a note
    Brand,         // 17 bold: the program's name beside its mark
    Lead,          // 14: a page's subtitle, a note's body
    LeadMedium,    // 14 medium: dictated text in the overlay's cards
    Heading,       // 14 semibold: a card's heading
    Body,          // 13: running text and text fields
    BodyMedium,    // 13 medium: a row's title
    BodyStrong,    // 13 semibold: buttons of action, the chosen row
    Callout,       // 12: the explaining text under a heading
    CalloutMedium, // 12 medium: quiet buttons, notices, captions of the overlay
    CalloutStrong, // 12 semibold: a group's title, a confirmation
    Caption,       // 11: hints, details and facts under a row
    CaptionMedium, // 11 medium: a status, the overlay's secondary lines
    CaptionStrong, // 11 semibold: a section's label, a card's title
    Micro,         // 10: the smallest hint
    MicroMedium,   // 10 medium
    MicroStrong,   // 10 semibold: badges and key symbols
    Mono,          // 12 in the fixed-pitch face: lines to copy into a configuration
};

namespace KitFont {

enum class Design { Default, Rounded };

struct Face {
    double points;
    QFont::Weight weight;
};

constexpr Face face(TextRole role)
{
    switch (role) {
    case TextRole::Title:
        return {28, QFont::Bold};
    case TextRole::DocumentTitle:
        return {18, QFont::DemiBold};
    case TextRole::Brand:
        return {17, QFont::Bold};
    case TextRole::Lead:
        return {14, QFont::Normal};
    case TextRole::LeadMedium:
        return {14, QFont::Medium};
    case TextRole::Heading:
        return {14, QFont::DemiBold};
    case TextRole::Body:
        return {13, QFont::Normal};
    case TextRole::BodyMedium:
        return {13, QFont::Medium};
    case TextRole::BodyStrong:
        return {13, QFont::DemiBold};
    case TextRole::Callout:
    case TextRole::Mono:
        return {12, QFont::Normal};
    case TextRole::CalloutMedium:
        return {12, QFont::Medium};
    case TextRole::CalloutStrong:
        return {12, QFont::DemiBold};
    case TextRole::Caption:
        return {11, QFont::Normal};
    case TextRole::CaptionMedium:
        return {11, QFont::Medium};
    case TextRole::CaptionStrong:
        return {11, QFont::DemiBold};
    case TextRole::Micro:
        return {10, QFont::Normal};
    case TextRole::MicroMedium:
        return {10, QFont::Medium};
    case TextRole::MicroStrong:
        return {10, QFont::DemiBold};
    }
    return {13, QFont::Normal};
}

// The system font (or the fixed-pitch one for Mono) set in role.
QFont of(TextRole role, Design design = Design::Default);

} // namespace KitFont
