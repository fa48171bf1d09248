// Data tools that pass every call on and add up the time spent opening
// layers: opening a shapefile reads its files whole, so this is the time an
// allocation spends reading its input layers.
#pragma once

#include <chrono>

#include "host/calculations/i_data_tools.h"

namespace allocate_bench {

class TimedDataTools final : public Norvane::Allotrix::Calculations::IDataTools {
public:
    explicit TimedDataTools(Norvane::Allotrix::Calculations::IDataTools& tools) : m_tools(tools) {}

    double OpeningMilliseconds() const { return m_opening.count(); }

    bool LayerExists(const std::string& path) override { return m_tools.LayerExists(path); }
    std::unique_ptr<Norvane::Allotrix::Calculations::IDataLayer> OpenLayer(const std::string& path) override {
        const auto start = std::chrono::steady_clock::now();
        auto layer = m_tools.OpenLayer(path);
        m_opening += std::chrono::steady_clock::now() - start;
        return layer;
    }
    using IDataTools::OpenWithDialogPrompting;
    std::optional<std::string> OpenWithDialogPrompting(
        std::intptr_t owner, const std::string& title, const std::string& startPath,
        const std::vector<Norvane::Domain::DomainElementShapeType>& filter,
        const Norvane::Allotrix::Calculations::DomainElementManagers* managers, bool multiple) override {
        return m_tools.OpenWithDialogPrompting(owner, title, startPath, filter, managers, multiple);
    }
    std::unique_ptr<Norvane::VaultixFacade::IFileProxy> SaveWithDialogPrompting(
        std::intptr_t owner, const std::string& title, const std::string& startPath,
        Norvane::Domain::DomainElementShapeType filter, const Norvane::VaultixFacade::SaveDelegate& save) override {
        return m_tools.SaveWithDialogPrompting(owner, title, startPath, filter, save);
    }
    void CreateLayer(const std::string& path, Norvane::Domain::DomainElementShapeType type,
                     Norvane::Allotrix::Calculations::IDataLayer* pTemplate) override {
        m_tools.CreateLayer(path, type, pTemplate);
    }

private:
    Norvane::Allotrix::Calculations::IDataTools& m_tools;
    std::chrono::duration<double, std::milli> m_opening{0};
};

}  // namespace allocate_bench
