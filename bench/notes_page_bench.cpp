// The notes page with 1,000 notes on the real notes file: opening it, opening a 100 KB note, one
// keystroke in its body (the write of the file included) and a search.
#include "core/state/app_state.h"
#include "fake_state_services.h"
#include "still_overlay_main.h"
#include "ui/kit/search_field.h"
#include "ui/pages/notes/note_selection.h"
#include "ui/pages/notes/notes_page.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int noteCount = 1000;

// 1,000 notes of a few lines each, one of them 100 KB, written as the notes file; returns that one's id.
QUuid seed(StateFiles& files)
{
    // Dictated text in paragraphs of a few sentences, as a long note is written.
    QString big;
    for (int sentence = 1; big.size() < 100 * 1024; ++sentence)
        big += QStringLiteral("A sentence of dictated text about the rehearsals for the spring concert.") +
               (sentence % 5 == 0 ? QStringLiteral("\n\n") : QStringLiteral(" "));
    const QDateTime now = QDateTime::currentDateTime();
    QList<QuendaNote> notes;
    for (int i = 0; i < noteCount; ++i) {
        const QDateTime at = now.addSecs(-97LL * i);
        notes.append({QUuid::createUuid(), at, at,
                      i % 7 == 0 ? QString() : QStringLiteral("Note %1 about the week").arg(i),
                      QStringLiteral("Line one of note %1.\nA second line with groceries, plans and a "
                                     "phone number 0171 %2.")
                          .arg(i)
                          .arg(i * 37)});
    }
    notes[noteCount / 2].title = QStringLiteral("The long one");
    notes[noteCount / 2].body = big;
    files.saveNotes(notes);
    return notes.at(noteCount / 2).id;
}

struct Shown {
    FakeStateServices<> services;
    QUuid big = seed(services.folderFiles);
    AppState state{services.forState()};
    std::unique_ptr<NotesPage> page;

    void open()
    {
        page = std::make_unique<NotesPage>(state);
        page->resize(1000, 700);
        page->show();
        QApplication::processEvents();
    }
};

void BM_OpenPage(benchmark::State& bench)
{
    Shown s;
    for (auto _ : bench) {
        s.open();
        bench.PauseTiming();
        s.page.reset();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        bench.ResumeTiming();
    }
}
BENCHMARK(BM_OpenPage)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_SelectBigNote(benchmark::State& bench)
{
    Shown s;
    s.open();
    const QUuid small = s.state.notes().first().id;
    for (auto _ : bench) {
        s.page->selection().select(s.big);
        QApplication::processEvents();
        bench.PauseTiming();
        s.page->selection().select(small);
        QApplication::processEvents();
        bench.ResumeTiming();
    }
}
BENCHMARK(BM_SelectBigNote)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_KeystrokeInBigNote(benchmark::State& bench)
{
    Shown s;
    s.open();
    s.page->selection().select(s.big);
    QApplication::processEvents();
    QPlainTextEdit& body = *s.page->bodyEditor();
    int i = 0;
    for (auto _ : bench) {
        QTest::keyClick(&body, (i++ % 2) ? Qt::Key_Backspace : Qt::Key_X);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_KeystrokeInBigNote)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_Search(benchmark::State& bench)
{
    Shown s;
    s.open();
    int i = 0;
    for (auto _ : bench) {
        s.page->search()->setText((i++ % 2) ? QStringLiteral("groceries 0171 1") : QStringLiteral("week"));
        QApplication::processEvents();
    }
}
BENCHMARK(BM_Search)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    return Bench::runStillOverlay(argc, argv);
}
