# The AAX library's foundation: strings, the component base and the ACF exports, the description
# proxies, the host proxies and the GUI base. Nothing here uses JUCE.
quietline_add_library(quietline_aax_foundation
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/AAX_CString.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CACFUnknown.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AAX_HostInterfaces.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AAX_VController.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AAX_VAutomationDelegate.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AAX_VTransport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AAX_VViewContainer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AAX_VHostServices.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AAX_VPropertyMap.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AAX_VComponentDescriptor.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AAX_VEffectDescriptor.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AAX_VCollection.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AAX_Exports.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AAX_CEffectGUI.cpp
  LIBS quietline_platform_aax)
