# The outputs of the other presets that the native tests use: the Windows
# builds that the Wine tests run and compare with this one, the shipped
# 32-bit module that the export and resource checks inspect, and the native
# (RelWithDebInfo) tool and module that the Wine traces are compared with.
# By default the presets' own folders; point them elsewhere with -D... (or
# at an empty folder: every test that needs a missing output skips with
# ctest's code 77 and says what to build).
set(ORV_NATIVE_BUILD_DIR ${PROJECT_SOURCE_DIR}/build/native CACHE PATH
    "Build folder of the native preset (orvane-panel, Orvane_Instr.so), for the Wine trace comparisons")
set(ORV_WIN32_BUILD_DIR ${PROJECT_SOURCE_DIR}/build/win32 CACHE PATH
    "Build folder of the win32 preset (the shipped Orvane_Instr.gau and orvane-panel.exe)")
set(ORV_WIN64_BUILD_DIR ${PROJECT_SOURCE_DIR}/build/win64 CACHE PATH
    "Build folder of the win64 preset (orvane-panel.exe, the module and the Windows test programs)")
