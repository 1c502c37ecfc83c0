#pragma once

#include "core/model/app_release.h"

#include <optional>
#include <utility>

// The updater's state; starts as idle.
class UpdateStatus final {
public:
    enum class Kind { Available, Downloading, Idle, Checking, Current, Failed };

    UpdateStatus() = default;

    static UpdateStatus available(const AppRelease& release)
    {
        return UpdateStatus(Kind::Available, release);
    }
    static UpdateStatus downloading(const AppRelease& release)
    {
        return UpdateStatus(Kind::Downloading, release);
    }
    static UpdateStatus idle() { return UpdateStatus(); }
    static UpdateStatus checking() { return UpdateStatus(Kind::Checking); }
    static UpdateStatus current() { return UpdateStatus(Kind::Current); }
    static UpdateStatus failed() { return UpdateStatus(Kind::Failed); }

    Kind kind() const { return m_kind; }
    bool is(Kind kind) const { return m_kind == kind; }
    // Present for available and downloading only.
    const std::optional<AppRelease>& release() const { return m_release; }

    friend bool operator==(const UpdateStatus&, const UpdateStatus&) = default;

private:
    explicit UpdateStatus(Kind kind, std::optional<AppRelease> release = std::nullopt)
        : m_kind(kind)
        , m_release(std::move(release))
    {
    }

    Kind m_kind = Kind::Idle;
    std::optional<AppRelease> m_release;
};
