#pragma once

#include "remoteversioninfo.h"

#include <QMetaType>
#include <QString>
#include <type_traits>
#include <variant>

// The outcome of the latest update check, as the about window shows it.
class UpdateCheckStatus
{
public:
    struct Idle {
        bool operator==(const Idle &) const = default;
    };
    struct Checking {
        bool operator==(const Checking &) const = default;
    };
    // The program's own version and build.
    struct UpToDate {
        QString version;
        qint64 build = 0;
        bool operator==(const UpToDate &) const = default;
    };
    struct UpdateAvailable {
        RemoteVersionInfo info;
        bool operator==(const UpdateAvailable &) const = default;
    };
    struct Failed {
        QString message;
        bool operator==(const Failed &) const = default;
    };
    using Value = std::variant<Idle, Checking, UpToDate, UpdateAvailable, Failed>;

    UpdateCheckStatus() = default;
    // Any case converts, so a case can be returned where a status is expected.
    template <typename Case>
    requires std::is_constructible_v<Value, Case> UpdateCheckStatus(Case value)
        : m_value(std::move(value))
    {
    }

    const Value &value() const { return m_value; }
    // The payload when the status is of that case, else null. Not on a temporary, whose
    // payload would be gone before the pointer is read.
    template <typename Case> const Case *as() const & { return std::get_if<Case>(&m_value); }
    template <typename Case> const Case *as() const && = delete;
    template <typename Case> bool is() const { return std::holds_alternative<Case>(m_value); }

    bool operator==(const UpdateCheckStatus &) const = default;

private:
    Value m_value;
};

Q_DECLARE_METATYPE(UpdateCheckStatus)
