#pragma once

#include <QHash>
#include <QLabel>

// Wrapped plain text of at most a number of lines, the last shown line ending in an ellipsis when
// the text goes on. A QLabel still, so it can stay selectable; a selection takes the shown text.
class LineLimitedLabel final : public QLabel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LineLimitedLabel)

public:
    LineLimitedLabel(int maxLines, QWidget* parent = nullptr);

    // The whole text; QLabel::text() is what fits.
    QString fullText() const { return m_full; }
    void setFullText(const QString& text);
    int maxLines() const { return m_maxLines; }
    int heightForWidth(int width) const override;
    QSize minimumSizeHint() const override;

    // The text wrapped at width to at most maxLines lines, each shown line ended by a newline-free
    // break, the last one shortened with an ellipsis when anything was left out.
    static QString fit(const QString& text, const QFont& font, qreal width, int maxLines);
    // Texts fitted to a width by any label so far: laying out text is what a long list costs.
    static int fitsMade();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void refit();
    // fit() for the inner width, kept until the text or font changes.
    QString fitted(int inner) const;

    QString m_full;
    int m_maxLines;
    // Layouts ask again and again for the same width; laying out text is what costs.
    mutable QHash<int, int> m_heights;  // by width
    mutable QHash<int, QString> m_fits; // by inner width
};
