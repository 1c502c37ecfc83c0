#pragma once

// How long each passing phase the controller shows stays before it returns to idle: long enough to
// read its text, short enough not to stand in the way of the next dictation.
namespace ResetDelay {

inline constexpr int pastedMs = 850;
inline constexpr int cancelledMs = 900;
inline constexpr int nothingHeardMs = 1400; // too short, or nothing recognised
inline constexpr int selectFirstMs = 1600;
inline constexpr int translateLoadingMs = 1600;
inline constexpr int loadingMs = 1800;
inline constexpr int noTranslationMs = 2000;
inline constexpr int notPastedMs = 2200; // the text waits on the clipboard
inline constexpr int micDeniedMs = 2200;
inline constexpr int translateNeedsSetupMs = 2200;
inline constexpr int learnedMs = 2400;
inline constexpr int startFailedMs = 2500;
inline constexpr int commandNeedsKeyMs = 2800;
inline constexpr int failedMs = 3000; // transcription or translation failed
inline constexpr int commandFailedMs = 3200;
inline constexpr int noteUnsavedMs = 3200;
inline constexpr int polishNoticeMs = 3400;
inline constexpr int speechServerWorksMs = 2400;
// The speech server's own words and which recogniser stood in: the longest text of them all.
inline constexpr int speechFallbackMs = 5000;

} // namespace ResetDelay
