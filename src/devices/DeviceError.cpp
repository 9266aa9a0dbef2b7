#include "devices/DeviceError.h"

namespace zuvo::devices {

namespace {

template <typename... Fs>
struct Overloaded : Fs... {
    using Fs::operator()...;
};

} // namespace

QString DeviceError::description() const
{
    return std::visit(Overloaded{
                          [](const ImportFolderMissing& e) {
                              return QStringLiteral("importFolderMissing(%1)").arg(e.url);
                          },
                          [](const AlreadyExists& e) {
                              return QStringLiteral("alreadyExists(\"%1\")").arg(e.file);
                          },
                          [](const VerificationFailed& e) {
                              return QStringLiteral("verificationFailed(\"%1\")").arg(e.message);
                          },
                          [](const Mtp& e) { return QStringLiteral("mtp(\"%1\")").arg(e.message); },
                          [](const NotImplemented&) { return QStringLiteral("notImplemented"); },
                      },
                      m_case);
}

} // namespace zuvo::devices
