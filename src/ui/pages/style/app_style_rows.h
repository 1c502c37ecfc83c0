#pragma once

#include "core/model/app_style_profile.h"

#include <QWidget>

#include <memory>

class AppIconCache;
class AppState;
class KeyedRows;
class KitLabel;
class LabelButton;
class QLabel;
class QMenu;
class QVBoxLayout;
class SearchField;

// One known application: its icon, name, a hint about its style and a picker of the style that
// applies to it. A divider under the row, past the icon, unless it is the last.
class AppStyleRow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AppStyleRow)

public:
    static constexpr int pickerWidth = 150;

    AppStyleRow(AppState& state, AppIconCache& icons, const AppStyleProfile& profile,
                QWidget* parent = nullptr);

    // A kept row takes the application's latest record, so the picker writes its current name.
    void setProfile(const AppStyleProfile& profile);
    const AppStyleProfile& profile() const { return m_profile; }
    void setLast(bool last);
    // The picker: the applying style's title; a click, Space or Enter opens the style menu.
    LabelButton* picker() const { return m_picker; }
    // The id of the style the picker shows; empty when the profile names no style.
    QString pickedStyle() const { return m_picked; }
    // The menu of styles the picker opens, built on first use.
    QMenu* styleMenu();
    QString hint() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    AppState& m_state;
    AppStyleProfile m_profile;
    QLabel* m_icon;
    KitLabel* m_name;
    KitLabel* m_hint;
    LabelButton* m_picker;
    QMenu* m_menu = nullptr;
    QString m_picked;
    bool m_last = false;
};

// The per-application part of the style page: a header with the all/recognised switch, a search
// and the rows of the visible applications, kept by id across updates.
class AppStylesSection final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AppStylesSection)

public:
    AppStylesSection(AppState& state, AppIconCache& icons, QWidget* parent = nullptr);
    ~AppStylesSection() override;

    bool showsAll() const { return m_showAll; }
    LabelButton* toggle() const { return m_toggle; }
    SearchField* search() const { return m_search; }
    // The text shown instead of rows; hidden while rows are shown.
    KitLabel* emptyText() const { return m_empty; }
    // The rows shown, in order.
    QList<AppStyleRow*> rows() const;

private:
    void refresh();

    AppState& m_state;
    AppIconCache& m_icons;
    bool m_showAll = false;
    LabelButton* m_toggle;
    SearchField* m_search;
    KitLabel* m_empty;
    QVBoxLayout* m_list;
    std::unique_ptr<KeyedRows> m_rows;
};
