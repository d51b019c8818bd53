#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kelmora::aax {

class AAX_IAutomationDelegate;
class AAX_IParameter;

/** Owns the parameters of one effect in the order added, and finds them by identifier or index.
    Used from the effect's host calls one at a time; no locking. */
class AAX_CParameterManager
{
public:
    AAX_CParameterManager() = default;
    ~AAX_CParameterManager();

    AAX_CParameterManager (const AAX_CParameterManager&) = delete;
    AAX_CParameterManager& operator= (const AAX_CParameterManager&) = delete;

    /** The delegate handed to parameters added from now on (null: none); not owned. */
    void Initialize (AAX_IAutomationDelegate* automationDelegate);

    int32_t NumParameters() const;

    /** Takes ownership, unless a parameter with the same identifier is held already: then the
        new one is not taken and stays the caller's. */
    void AddParameter (AAX_IParameter* parameter);

    /** Deletes every parameter in the order added (each unregisters from its delegate). */
    void RemoveAllParameters();

    AAX_IParameter* GetParameterByID (const char* identifier) const;
    int32_t GetParameterIndex (const char* identifier) const;
    AAX_IParameter* GetParameterByIndex (int32_t index) const;

private:
    AAX_IAutomationDelegate* automationDelegate = nullptr;
    std::vector<AAX_IParameter*> parameters;
    std::map<std::string, AAX_IParameter*> parametersByIdentifier;
};

} // namespace kelmora::aax
