#pragma once

namespace scorvane {

// A Qt view of one window model: it brings itself up to date from the model on demand.
class ModelView {
public:
    virtual ~ModelView() = default;
    virtual void Sync() = 0;
};

}  // namespace scorvane
