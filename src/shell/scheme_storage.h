#pragma once
// The document's scheme file: what the file holds besides the tables and the
// reader and writer that the document's commands call.
#include "model/scheme_file.h"
#include "shell/documents.h"

#include <functional>

class TSchemeFileStorage : public TSchemeStorage
{
public:
    explicit TSchemeFileStorage(TNetworkTables &tables) : m_tables(tables) {}

    TSchemeDocument Doc;
    // The view saved with the scheme.
    const TViewport *View = nullptr;

    void ResetDocumentState() override
    {
        UnlinkAllPhones(m_tables);
        Doc.Clear();
    }
    void Read(const QString &fileName) override { ReadMineFile(fileName, m_tables, Doc); }
    bool Write(const QString &fileName) override;
    void WithNetworkValues(const std::function<void()> &write) override;
    QString MineName() const override { return Doc.MineProperties.MineName; }
    bool StoredView(TViewport &view) const override;
    std::vector<std::int32_t> LayerColors() const override;
    bool TakePictureSymbols() override;

    // Set while a window holds computed values in the tables (the fire
    // model's emergency flows): exchanges them with the network's own values,
    // called once before WithNetworkValues runs its work and once after it.
    std::function<void()> ExchangeForWrite;

    // The speed limits of a branch type; set by the air speed control.
    std::function<bool(int branchType, double &minSpeed, double &maxSpeed)> SpeedDefaults;
    bool DefaultSpeeds(int branchType, double &minSpeed, double &maxSpeed) const override
    {
        return SpeedDefaults && SpeedDefaults(branchType, minSpeed, maxSpeed);
    }

private:
    TNetworkTables &m_tables;
};
