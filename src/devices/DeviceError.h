#pragma once

#include <QString>

#include <variant>

namespace zuvo::devices {

// What a device transport throws when an operation fails for a reason of its
// own; file-system failures are thrown as FileSystemError instead. It carries
// no user-facing text: where the application shows it, it shows the
// description.
class DeviceError {
public:
    // The course folder on a volume can neither be found nor created.
    struct ImportFolderMissing {
        QString url;
        bool operator==(const ImportFolderMissing&) const = default;
    };
    // A course of that name is on the device already: `file` is where.
    struct AlreadyExists {
        QString file;
        bool operator==(const AlreadyExists&) const = default;
    };
    // A written file does not read back as written.
    struct VerificationFailed {
        QString message;
        bool operator==(const VerificationFailed&) const = default;
    };
    // Any MTP failure.
    struct Mtp {
        QString message;
        bool operator==(const Mtp&) const = default;
    };
    // The operation does not exist for this layout or transport.
    struct NotImplemented {
        bool operator==(const NotImplemented&) const = default;
    };
    using Case =
        std::variant<ImportFolderMissing, AlreadyExists, VerificationFailed, Mtp, NotImplemented>;

    static DeviceError importFolderMissing(QString url) { return {ImportFolderMissing{url}}; }
    static DeviceError alreadyExists(QString file) { return {AlreadyExists{std::move(file)}}; }
    static DeviceError verificationFailed(QString message)
    {
        return {VerificationFailed{std::move(message)}};
    }
    static DeviceError mtp(QString message) { return {Mtp{std::move(message)}}; }
    static DeviceError notImplemented() { return {NotImplemented{}}; }

    const Case& value() const { return m_case; }

    template <typename T>
    bool is() const
    {
        return std::holds_alternative<T>(m_case);
    }

    // The plain textual rendering: the case name, then the payload in
    // parentheses, a message in double quotes:
    // mtp("device no longer connected"), importFolderMissing(file:///…),
    // alreadyExists("/media/ana/EDGE/Garmin/NewFiles/Alpen.gpx"),
    // notImplemented.
    QString description() const;

    bool operator==(const DeviceError&) const = default;

private:
    DeviceError(Case c)
        : m_case(std::move(c))
    {
    }

    Case m_case;
};

} // namespace zuvo::devices
