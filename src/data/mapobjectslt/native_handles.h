// Small helpers over native handles shared by the facade's files.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "native/native_geometry.h"

namespace Norvane::Allotrix::Calculations::Data::MapObjectsLT {

inline Korvex::NativeGeometry* Native(std::intptr_t handle) { return Korvex::FromHandle(handle); }

// A copy of one record alone: its points, no `next`.
inline Korvex::NativeGeometry* CopyRecord(const Korvex::NativeGeometry& record) {
    return new Korvex::NativeGeometry(record.points, record.count);
}

// Releases a list of handles when it goes out of scope.
class HandleList {
public:
    HandleList() = default;
    explicit HandleList(std::vector<std::intptr_t> handles) : m_handles(std::move(handles)) {}
    HandleList(const HandleList&) = delete;
    HandleList& operator=(const HandleList&) = delete;
    ~HandleList() {
        for (std::intptr_t handle : m_handles) delete Native(handle);
    }
    const std::vector<std::intptr_t>& handles() const { return m_handles; }

private:
    std::vector<std::intptr_t> m_handles;
};

}  // namespace Norvane::Allotrix::Calculations::Data::MapObjectsLT
