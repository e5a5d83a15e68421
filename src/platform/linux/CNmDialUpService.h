#pragma once

#include "platform/IDialUpService.h"

#include <QDBusConnection>

// The dial-up service on NetworkManager over the system bus.
// (Placeholder until the NetworkManager backend lands: it reports no service.)
class CNmDialUpService : public IDialUpService {
public:
    explicit CNmDialUpService(const QDBusConnection& bus);

    bool EnumConnections(std::vector<SActiveConnection>& connections) override;
    bool GetConnectStatus(const SActiveConnection& connection) override;
    bool HangUp(const SActiveConnection& connection) override;
    bool EnumEntries(std::vector<std::string>& entries) override;
    bool Dial(const std::string& strEntry) override;

private:
    QDBusConnection m_bus;
};
