#pragma once

#include "core/model/correction_endpoint.h"

#include <QWidget>

#include <functional>
#include <optional>

class AppState;
class IconButton;
class KitLabel;
class OpenAIKeyStore;
class ProviderKeyField;
class QStringListModel;
class SettingsBinder;
class SettingsRow;
class SoftPicker;
class TextField;
class ToggleSwitch;

// One endpoint of the correction list: its number, provider, switch and place in the list, the
// base URL of a server the user names, the model and the provider key. Each control writes the
// endpoint once per change. A base URL that cannot work is refused on its row and nothing is
// saved, so a custom endpoint is only stored with its server; a new base URL or key asks the
// engine again which models the provider offers, and its answer or error shows under the model.
class EndpointRow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EndpointRow)

public:
    // Without a key store the key row is left out.
    EndpointRow(SettingsBinder& binder, OpenAIKeyStore* keys, const QUuid& id, QWidget* parent = nullptr);

    // Changes the endpoint list in one configuration write, none when nothing changed; the legacy
    // fields follow the first endpoint, as they do in the file.
    static void writeEndpoints(SettingsBinder& binder,
                               const std::function<void(QList<CorrectionEndpoint>&)>& change);

    const QUuid& id() const { return m_id; }
    // Shows the stored endpoint at place `index` of a list of `count`. A field keeps what is being
    // typed into it unless its own stored value changed.
    void present(const CorrectionEndpoint& endpoint, int index, int count);
    // The controls in reading order, for the section's Tab order.
    QList<QWidget*> focusOrder() const;

    SoftPicker* kind() const { return m_kind; }
    ToggleSwitch* enabled() const { return m_enabled; }
    IconButton* upButton() const { return m_up; }
    IconButton* downButton() const { return m_down; }
    IconButton* removeButton() const { return m_remove; }
    SettingsRow* baseURLRow() const { return m_baseURLRow; }
    TextField* baseURL() const { return m_baseURL; }
    SettingsRow* modelRow() const { return m_modelRow; }
    TextField* model() const { return m_model; }
    // The models offered for the field: "auto", then those the provider lists.
    QStringList models() const;
    IconButton* modelListButton() const { return m_modelList; }
    // Absent without a key store.
    ProviderKeyField* key() const { return m_key; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<CorrectionEndpoint> stored() const;
    void edit(const std::function<void(CorrectionEndpoint&)>& change);
    void bindFields();
    void chooseKind(int index);
    void writeKind(const QString& kind);
    void move(int by);
    void removeEndpoint();
    void lookUp();
    void showKind();
    void showCatalog();

    SettingsBinder& m_binder;
    AppState& m_state;
    OpenAIKeyStore* m_keys;
    const QUuid m_id;
    CorrectionEndpoint m_shown;
    int m_count = 0;
    // Custom was chosen for an endpoint without a base URL: shown, not stored, until one is given.
    bool m_pendingCustom = false;
    bool m_presented = false;

    KitLabel* m_number;
    SoftPicker* m_kind;
    ToggleSwitch* m_enabled;
    IconButton* m_up;
    IconButton* m_down;
    IconButton* m_remove;
    TextField* m_baseURL;
    SettingsRow* m_baseURLRow;
    TextField* m_model;
    QStringListModel* m_models;
    IconButton* m_modelList;
    SettingsRow* m_modelRow;
    ProviderKeyField* m_key = nullptr;
};
