#include "formats/aax/AAX_CParameterManager.h"

#include "formats/aax/AAX_IParameter.h"

#include <cstring>

namespace kelmora::aax {

AAX_CParameterManager::~AAX_CParameterManager()
{
    RemoveAllParameters();
}

void AAX_CParameterManager::Initialize (AAX_IAutomationDelegate* newDelegate)
{
    automationDelegate = newDelegate;
}

int32_t AAX_CParameterManager::NumParameters() const
{
    return static_cast<int32_t> (parameters.size());
}

void AAX_CParameterManager::AddParameter (AAX_IParameter* parameter)
{
    if (parameter == nullptr || parametersByIdentifier.count (parameter->Identifier()) != 0)
        return;

    parameter->SetAutomationDelegate (automationDelegate);
    parameters.push_back (parameter);
    parametersByIdentifier.emplace (parameter->Identifier(), parameter);
}

void AAX_CParameterManager::RemoveAllParameters()
{
    // Emptied first, so that a host answering an unregistration finds no parameter half gone.
    std::vector<AAX_IParameter*> removed;
    removed.swap (parameters);
    parametersByIdentifier.clear();

    for (auto* parameter : removed)
        delete parameter;
}

AAX_IParameter* AAX_CParameterManager::GetParameterByID (const char* identifier) const
{
    if (identifier == nullptr)
        return nullptr;

    const auto found = parametersByIdentifier.find (identifier);
    return found != parametersByIdentifier.end() ? found->second : nullptr;
}

int32_t AAX_CParameterManager::GetParameterIndex (const char* identifier) const
{
    if (identifier == nullptr)
        return -1;

    for (size_t i = 0; i < parameters.size(); ++i)
        if (std::strcmp (parameters[i]->Identifier(), identifier) == 0)
            return static_cast<int32_t> (i);

    return -1;
}

AAX_IParameter* AAX_CParameterManager::GetParameterByIndex (int32_t index) const
{
    if (index < 0 || index >= NumParameters())
        return nullptr;

    return parameters[static_cast<size_t> (index)];
}

} // namespace kelmora::aax
