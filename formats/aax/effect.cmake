# The AAX effect layer: parameters with their tapers and displays, the parameter manager, the state
# chunk format, packets for the audio side, the owner-aware mutex and the effect-parameters object.
# Nothing here uses JUCE.
quietline_add_library(quietline_aax_effect
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/AAX_CChunkDataParser.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AAX_CEffectParameters.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AAX_CMutex.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AAX_CPacket.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AAX_CPacketDispatcher.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AAX_CParameter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AAX_CParameterManager.cpp
  LIBS quietline_aax_foundation quietline_platform_aax)
