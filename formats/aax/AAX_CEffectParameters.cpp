#include "formats/aax/AAX_CEffectParameters.h"

#include "formats/aax/AAX_CString.h"
#include "formats/aax/AAX_IParameter.h"
#include "formats/aax/AAX_VAutomationDelegate.h"
#include "formats/aax/AAX_VController.h"
#include "formats/aax/AAX_VTransport.h"
#include "formats/aax/AAX_FloatConversion.h"

#include <cstring>
#include <vector>

namespace kelmora::aax {

namespace {

constexpr const char* masterBypassID = "MasterBypassID";
constexpr const char* previewID = "PreviewID";
constexpr const char* controlsChunkName = "Complete Controls State";
constexpr size_t maxNameOfLengthChars = 255;

/** Limits to 0..1; NaN counts as 0, like every non-finite value from the host. */
double limitNormalized (double value)
{
    if (value > 1.0)
        return 1.0;
    return value > 0.0 ? value : 0.0;
}

/** The host's parameter queries share one shape: refuse a null out-pointer, then an unknown
    identifier, then let `read` fill the answer. */
template <typename Out, typename Read>
AAX_Result readParameter (const AAX_IParameter* parameter, Out* out, Read&& read)
{
    if (out == nullptr)
        return kAAXNullObject;
    if (parameter == nullptr)
        return kAAXNoSuchParameter;
    return read (*parameter, *out);
}

/** The same for operations that change a known parameter. */
template <typename Change>
AAX_Result changeParameter (AAX_IParameter* parameter, Change&& change)
{
    if (parameter == nullptr)
        return kAAXNoSuchParameter;
    change (*parameter);
    return kAAXSuccess;
}

} // namespace

AAX_CEffectParameters::AAX_CEffectParameters() = default;

AAX_CEffectParameters::~AAX_CEffectParameters()
{
    // A host may release the effect without Uninitialize(): the parameters still have to leave
    // the automation delegate before it goes, and the proxies must not leak.
    releaseHostObjects();
}

AAX_IParameter* AAX_CEffectParameters::findParameter (const char* id) const
{
    return ParameterManager.GetParameterByID (id);
}

void AAX_CEffectParameters::releaseHostObjects()
{
    ParameterManager.RemoveAllParameters();
    ParameterManager.Initialize (nullptr);
    PacketDispatcher.Initialize (nullptr, nullptr);

    delete controller;
    controller = nullptr;
    delete automationDelegate;
    automationDelegate = nullptr;
    delete transport;
    transport = nullptr;
}

// The chunk covers the parameters the effect reports, which a derived effect may narrow.
int32_t AAX_CEffectParameters::chunkParameterCount() const
{
    int32_t count = 0;
    return GetNumberOfParameters (&count) == kAAXSuccess ? count : 0;
}

AAX_IController* AAX_CEffectParameters::Controller() const { return controller; }
AAX_ITransport* AAX_CEffectParameters::Transport() const { return transport; }

//==============================================================================
AAX_Result AAX_CEffectParameters::Initialize (IACFUnknown* hostUnknown)
{
    // A second Initialize replaces the proxies of the first; the parameters registered with the
    // old automation delegate move to the new one instead of keeping a pointer to a deleted proxy.
    std::vector<AAX_IParameter*> registered;
    if (automationDelegate != nullptr)
    {
        for (int32_t i = 0; i < ParameterManager.NumParameters(); ++i)
            registered.push_back (ParameterManager.GetParameterByIndex (i));
        for (auto* parameter : registered)
            parameter->SetAutomationDelegate (nullptr);
    }

    PacketDispatcher.Initialize (nullptr, nullptr);
    delete controller;
    delete automationDelegate;
    delete transport;

    controller = new AAX_VController (hostUnknown);
    automationDelegate = new AAX_VAutomationDelegate (hostUnknown);
    transport = new AAX_VTransport (hostUnknown);

    ParameterManager.Initialize (automationDelegate);
    for (auto* parameter : registered)
        parameter->SetAutomationDelegate (automationDelegate);

    PacketDispatcher.Initialize (controller, this);

    const AAX_Result result = EffectInit();
    if (result != kAAXSuccess)
        return result;

    AAX_CString bypassID;
    GetMasterBypassParameter (&bypassID);
    FilteredParameterIds.insert (bypassID.Get());
    return result;
}

AAX_Result AAX_CEffectParameters::Uninitialize()
{
    releaseHostObjects();
    return kAAXSuccess;
}

AAX_Result AAX_CEffectParameters::EffectInit()
{
    return kAAXSuccess;
}

AAX_Result AAX_CEffectParameters::NotificationReceived (uint32_t type, const void* data, uint32_t size)
{
    if (type != previewNotification || data == nullptr || size < sizeof (int32_t))
        return kAAXSuccess;

    if (auto* preview = findParameter (previewID))
    {
        int32_t value = 0;
        std::memcpy (&value, data, sizeof (value));
        preview->SetValueWithBool (value != 0);
    }

    return kAAXSuccess;
}

//==============================================================================
AAX_Result AAX_CEffectParameters::GetNumberOfParameters (int32_t* count) const
{
    if (count == nullptr)
        return kAAXNullObject;
    *count = ParameterManager.NumParameters();
    return kAAXSuccess;
}

AAX_Result AAX_CEffectParameters::GetMasterBypassParameter (AAX_IString* parameterID) const
{
    if (parameterID == nullptr)
        return kAAXNullObject;
    parameterID->Set (findParameter (masterBypassID) != nullptr ? masterBypassID : "");
    return kAAXSuccess;
}

AAX_Result AAX_CEffectParameters::GetParameterIsAutomatable (const char* id, bool* automatable) const
{
    if (automatable == nullptr)
        return kAAXNullObject;
    *automatable = false;
    const auto* parameter = findParameter (id);
    if (parameter == nullptr)
        return kAAXNoSuchParameter;
    *automatable = parameter->Automatable();
    return kAAXSuccess;
}

AAX_Result AAX_CEffectParameters::GetParameterNumberOfSteps (const char* id, int32_t* steps) const
{
    return readParameter (findParameter (id), steps, [] (const AAX_IParameter& p, int32_t& out)
    {
        out = static_cast<int32_t> (p.GetNumberOfSteps());
        return kAAXSuccess;
    });
}

AAX_Result AAX_CEffectParameters::GetParameterName (const char* id, AAX_IString* name) const
{
    if (name == nullptr)
        return kAAXNullObject;
    const auto* parameter = findParameter (id);
    *name = parameter != nullptr ? parameter->Name() : AAX_CString();
    return kAAXSuccess;
}

AAX_Result AAX_CEffectParameters::GetParameterNameOfLength (const char* id, AAX_IString* name, int32_t length) const
{
    if (name == nullptr)
        return kAAXNullObject;

    const auto* parameter = findParameter (id);
    if (parameter == nullptr)
    {
        name->Set ("");
        return kAAXSuccess;
    }

    std::string full = parameter->ShortenedName (length).Get();
    if (full.size() > maxNameOfLengthChars)
        full.resize (maxNameOfLengthChars);
    if (full.empty())
        return kAAXSuccess;

    // The first longest line that fits; the whole name when none does.
    std::string best;
    size_t start = 0;
    while (start <= full.size())
    {
        size_t end = full.find ('\n', start);
        if (end == std::string::npos)
            end = full.size();

        const size_t lineLength = end - start;
        if (lineLength >= 1 && static_cast<int64_t> (lineLength) <= length && lineLength > best.size())
            best = full.substr (start, lineLength);

        start = end + 1;
    }

    name->Set (best.empty() ? full.c_str() : best.c_str());
    return kAAXSuccess;
}

AAX_Result AAX_CEffectParameters::GetParameterDefaultNormalizedValue (const char* id, double* value) const
{
    return readParameter (findParameter (id), value, [] (const AAX_IParameter& p, double& out)
    {
        out = p.GetNormalizedDefaultValue();
        return kAAXSuccess;
    });
}

AAX_Result AAX_CEffectParameters::SetParameterDefaultNormalizedValue (const char* id, double value)
{
    return changeParameter (findParameter (id), [value] (AAX_IParameter& p) { p.SetNormalizedDefaultValue (value); });
}

AAX_Result AAX_CEffectParameters::GetParameterType (const char* id, int32_t* type) const
{
    return readParameter (findParameter (id), type, [] (const AAX_IParameter& p, int32_t& out)
    {
        out = p.GetType();
        return kAAXSuccess;
    });
}

AAX_Result AAX_CEffectParameters::GetParameterOrientation (const char* id, int32_t* orientation) const
{
    return readParameter (findParameter (id), orientation, [] (const AAX_IParameter& p, int32_t& out)
    {
        out = p.GetOrientation();
        return kAAXSuccess;
    });
}

AAX_Result AAX_CEffectParameters::GetParameter (const char* id, AAX_IParameter** parameter)
{
    if (parameter == nullptr)
        return kAAXNullObject;
    *parameter = findParameter (id);
    return *parameter != nullptr ? kAAXSuccess : kAAXNoSuchParameter;
}

AAX_Result AAX_CEffectParameters::GetParameterIndex (const char* id, int32_t* index) const
{
    if (index == nullptr)
        return kAAXNullObject;
    *index = ParameterManager.GetParameterIndex (id);
    return *index >= 0 ? kAAXSuccess : kAAXNoSuchParameter;
}

AAX_Result AAX_CEffectParameters::GetParameterIDFromIndex (int32_t index, AAX_IString* id) const
{
    if (id == nullptr)
        return kAAXNullObject;
    const auto* parameter = ParameterManager.GetParameterByIndex (index);
    id->Set (parameter != nullptr ? parameter->Identifier() : "");
    return parameter != nullptr ? kAAXSuccess : kAAXNoSuchParameter;
}

AAX_Result AAX_CEffectParameters::GetParameterValueInfo (const char*, int32_t, int32_t* value) const
{
    if (value != nullptr)
        *value = 0;
    return kAAXNotSupported;
}

AAX_Result AAX_CEffectParameters::GetParameterValueFromString (const char* id, double* value, const AAX_IString& text) const
{
    return readParameter (findParameter (id), value, [&text] (const AAX_IParameter& p, double& out)
    {
        return p.GetNormalizedValueFromString (AAX_CString (text), &out) ? kAAXSuccess : kAAXConversionFailed;
    });
}

AAX_Result AAX_CEffectParameters::GetParameterStringFromValue (const char* id, double normalizedValue, AAX_IString* text,
                                                               int32_t maxLength) const
{
    return readParameter (findParameter (id), text, [=] (const AAX_IParameter& p, AAX_IString& out)
    {
        AAX_CString converted;
        if (! p.GetStringFromNormalizedValue (normalizedValue, maxLength, converted))
            return kAAXConversionFailed;

        out = converted;
        return kAAXSuccess;
    });
}

AAX_Result AAX_CEffectParameters::GetParameterValueString (const char* id, AAX_IString* text, int32_t maxLength) const
{
    return readParameter (findParameter (id), text, [maxLength] (const AAX_IParameter& p, AAX_IString& out)
    {
        AAX_CString converted;
        p.GetValueString (maxLength, &converted);
        out = converted;
        return kAAXSuccess;
    });
}

AAX_Result AAX_CEffectParameters::GetParameterNormalizedValue (const char* id, double* value) const
{
    return readParameter (findParameter (id), value, [] (const AAX_IParameter& p, double& out)
    {
        out = p.GetNormalizedValue();
        return kAAXSuccess;
    });
}

AAX_Result AAX_CEffectParameters::SetParameterNormalizedValue (const char* id, double value)
{
    return changeParameter (findParameter (id), [value] (AAX_IParameter& p) { p.SetNormalizedValue (value); });
}

AAX_Result AAX_CEffectParameters::SetParameterNormalizedRelative (const char* id, double delta)
{
    double current = 0.0;
    const AAX_Result result = GetParameterNormalizedValue (id, &current);
    if (result != kAAXSuccess)
        return result;
    return SetParameterNormalizedValue (id, limitNormalized (current + delta));
}

AAX_Result AAX_CEffectParameters::TouchParameter (const char* id)
{
    return changeParameter (findParameter (id), [] (AAX_IParameter& p) { p.Touch(); });
}

AAX_Result AAX_CEffectParameters::ReleaseParameter (const char* id)
{
    return changeParameter (findParameter (id), [] (AAX_IParameter& p) { p.Release(); });
}

AAX_Result AAX_CEffectParameters::UpdateParameterTouch (const char*, bool)
{
    return kAAXSuccess;
}

AAX_Result AAX_CEffectParameters::UpdateParameterNormalizedValue (const char* id, double value, int32_t)
{
    auto* parameter = findParameter (id);
    if (parameter == nullptr)
        return kAAXNoSuchParameter;

    parameter->UpdateNormalizedValue (value);
    const AAX_Result result = PacketDispatcher.SetDirty (id, true);
    ++ChangeCount;
    return result;
}

AAX_Result AAX_CEffectParameters::UpdateParameterNormalizedRelative (const char* id, double delta)
{
    double current = 0.0;
    const AAX_Result result = GetParameterNormalizedValue (id, &current);
    if (result != kAAXSuccess)
        return result;
    return UpdateParameterNormalizedValue (id, limitNormalized (current + delta), 0);
}

AAX_Result AAX_CEffectParameters::GenerateCoefficients()
{
    return PacketDispatcher.Dispatch();
}

AAX_Result AAX_CEffectParameters::ResetFieldData (uint32_t, void* data, uint32_t size) const
{
    if (data != nullptr)
        std::memset (data, 0, size);
    return kAAXSuccess;
}

AAX_Result AAX_CEffectParameters::GetNumberOfChanges (int32_t* changes) const
{
    if (changes == nullptr)
        return kAAXNullObject;
    if (ChangeCount >= 0)
        *changes = ChangeCount;
    return kAAXSuccess;
}

//==============================================================================
AAX_Result AAX_CEffectParameters::GetNumberOfChunks (int32_t* count) const
{
    if (count == nullptr)
        return kAAXNullObject;
    *count = 1;
    return kAAXSuccess;
}

AAX_Result AAX_CEffectParameters::GetChunkIDFromIndex (int32_t index, AAX_ChunkID* chunkID) const
{
    if (chunkID == nullptr)
        return kAAXNullObject;
    *chunkID = index == 0 ? controlsChunkID : 0;
    return index == 0 ? kAAXSuccess : kAAXChunkIndexOutOfRange;
}

void AAX_CEffectParameters::BuildChunkData() const
{
    ChunkParser.Clear();

    for (int32_t index = 0, count = chunkParameterCount(); index < count; ++index)
    {
        const auto* parameter = ParameterManager.GetParameterByIndex (index);
        if (parameter == nullptr || FilteredParameterIds.count (parameter->Identifier()) != 0)
            continue;

        const char* name = parameter->Identifier();
        float f = 0.0f;
        int32_t i = 0;
        bool b = false;
        double d = 0.0;
        AAX_CString s;

        if (parameter->GetValueAsFloat (&f))
            ChunkParser.AddDouble (name, static_cast<double> (f));
        else if (parameter->GetValueAsInt32 (&i))
            ChunkParser.AddInt32 (name, i);
        else if (parameter->GetValueAsBool (&b))
            ChunkParser.AddInt32 (name, b ? 1 : 0);
        else if (parameter->GetValueAsDouble (&d))
            ChunkParser.AddDouble (name, d);
        else if (parameter->GetValueAsString (&s))
            ChunkParser.AddString (name, s);
    }
}

AAX_Result AAX_CEffectParameters::GetChunkSize (AAX_ChunkID chunkID, uint32_t* size) const
{
    if (size == nullptr)
        return kAAXNullObject;

    if (chunkID != controlsChunkID)
    {
        *size = 0;
        return kAAXUnknownChunk;
    }

    std::lock_guard<std::recursive_mutex> lock (chunkLock);
    BuildChunkData();
    ReportedChunkSize = ChunkParser.GetChunkDataSize();
    *size = static_cast<uint32_t> (ReportedChunkSize);
    return kAAXSuccess;
}

AAX_Result AAX_CEffectParameters::GetChunk (AAX_ChunkID chunkID, ChunkRecord* chunk) const
{
    if (chunkID != controlsChunkID)
        return kAAXUnknownChunk;
    if (chunk == nullptr)
        return kAAXNullObject;

    std::lock_guard<std::recursive_mutex> lock (chunkLock);
    BuildChunkData();

    // The host allocated what GetChunkSize reported; anything else would not fit.
    const int32_t size = ChunkParser.GetChunkDataSize();
    if (ReportedChunkSize == 0 || ReportedChunkSize != size)
        return kAAXChunkSizeChanged;

    chunk->version = -1;
    std::memset (chunk->name, 0, sizeof (chunk->name));
    std::strncpy (chunk->name, controlsChunkName, sizeof (chunk->name) - 1);
    return ChunkParser.GetChunkData (chunk);
}

AAX_Result AAX_CEffectParameters::SetChunk (AAX_ChunkID chunkID, const ChunkRecord* chunk)
{
    if (chunkID != controlsChunkID)
        return kAAXUnknownChunk;

    std::lock_guard<std::recursive_mutex> lock (chunkLock);
    ChunkParser.LoadChunk (chunk);

    for (int32_t index = 0, count = chunkParameterCount(); index < count; ++index)
    {
        auto* parameter = ParameterManager.GetParameterByIndex (index);
        if (parameter == nullptr || FilteredParameterIds.count (parameter->Identifier()) != 0)
            continue;

        const char* name = parameter->Identifier();
        float f = 0.0f;
        int32_t i = 0;
        bool b = false;
        double d = 0.0;
        AAX_CString s;

        if (parameter->GetValueAsFloat (&f))
        {
            if (ChunkParser.FindDouble (name, &d))
                parameter->SetValueWithFloat (NarrowToFloat (d));
        }
        else if (parameter->GetValueAsInt32 (&i))
        {
            if (ChunkParser.FindInt32 (name, &i))
                parameter->SetValueWithInt32 (i);
        }
        else if (parameter->GetValueAsBool (&b))
        {
            if (ChunkParser.FindInt32 (name, &i))
                parameter->SetValueWithBool (i != 0);
        }
        else if (parameter->GetValueAsDouble (&d))
        {
            if (ChunkParser.FindDouble (name, &d))
                parameter->SetValueWithDouble (d);
        }
        else if (parameter->GetValueAsString (&s))
        {
            if (ChunkParser.FindString (name, &s))
                parameter->SetValueWithString (s);
        }
    }

    return kAAXSuccess;
}

AAX_Result AAX_CEffectParameters::CompareActiveChunk (const ChunkRecord* chunk, bool* isEqual) const
{
    if (chunk == nullptr || isEqual == nullptr)
        return kAAXNullObject;

    if (chunk->chunkID != controlsChunkID)
    {
        *isEqual = true;
        return kAAXSuccess;
    }

    std::lock_guard<std::recursive_mutex> lock (chunkLock);
    *isEqual = false;
    ChunkParser.LoadChunk (chunk);

    for (int32_t index = 0, count = chunkParameterCount(); index < count; ++index)
    {
        const auto* parameter = ParameterManager.GetParameterByIndex (index);
        if (parameter == nullptr || FilteredParameterIds.count (parameter->Identifier()) != 0)
            continue;

        const char* name = parameter->Identifier();
        float f = 0.0f;
        int32_t i = 0;
        bool b = false;
        double d = 0.0;
        AAX_CString s;
        bool same = true;

        if (parameter->GetValueAsFloat (&f))
            same = ChunkParser.FindDouble (name, &d) && NarrowToFloat (d) == f;
        else if (parameter->GetValueAsInt32 (&i))
        {
            int32_t stored = 0;
            same = ChunkParser.FindInt32 (name, &stored) && stored == i;
        }
        else if (parameter->GetValueAsBool (&b))
            same = ChunkParser.FindInt32 (name, &i) && (i != 0) == b;
        else if (parameter->GetValueAsDouble (&d))
        {
            double stored = 0.0;
            same = ChunkParser.FindDouble (name, &stored) && NarrowToFloat (stored) == NarrowToFloat (d);
        }
        else if (parameter->GetValueAsString (&s))
        {
            AAX_CString stored;
            same = ChunkParser.FindString (name, &stored) && stored == s;
        }

        if (! same)
            return kAAXSuccess;
    }

    *isEqual = true;
    return kAAXSuccess;
}

//==============================================================================
AAX_Result AAX_CEffectParameters::EffectOperation40 (uint32_t, const void*, uint32_t, int32_t*) { return kAAXSuccess; }
AAX_Result AAX_CEffectParameters::EffectOperation41 (uint32_t, const void*, uint32_t, int32_t*) { return kAAXNotSupported; }

AAX_Result AAX_CEffectParameters::EffectOperation42 (uint32_t, const void*, uint32_t, int32_t* value)
{
    if (value != nullptr)
        *value = 0;
    return kAAXSuccess;
}

AAX_Result AAX_CEffectParameters::EffectOperation43 (uint32_t, const void*, uint32_t, int32_t*) { return kAAXSuccess; }
AAX_Result AAX_CEffectParameters::EffectOperation44 (uint32_t, const void*, uint32_t, int32_t*) { return kAAXSuccess; }
AAX_Result AAX_CEffectParameters::EffectOperation45 (uint32_t, const void*, uint32_t, int32_t*) { return kAAXNotSupported; }
AAX_Result AAX_CEffectParameters::EffectOperation46 (uint32_t, const void*, uint32_t, int32_t*) { return kAAXSuccess; }
AAX_Result AAX_CEffectParameters::EffectOperation47 (uint32_t, const void*, uint32_t, int32_t*) { return kAAXSuccess; }

ACFResult AAX_CEffectParameters::InternalQueryInterface (const acfUID& interfaceID, void** out)
{
    if (out != nullptr && (interfaceID == kAAXID_EffectParameters || interfaceID == kAAXID_EffectParameters_V2))
    {
        auto* primary = static_cast<AAX_IACFEffectParameters_V2*> (this);
        *out = primary;
        primary->AddRef();
        return kAAXSuccess;
    }

    return CACFUnknown::InternalQueryInterface (interfaceID, out);
}

} // namespace kelmora::aax
