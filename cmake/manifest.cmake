# qv_manifest(output NAME name VERSION a.b.c.d DESCRIPTION text
#             LEVEL asInvoker|requireAdministrator [WINDOWS])
#
# A program's manifest from the one template. Every program states its
# execution level: without one, Windows guesses an installer from the name
# and elevates it, or runs it with its file and registry writes virtualized.
# WINDOWS: it shows windows, so it takes the version 6 common controls.
function(qv_manifest output)
  cmake_parse_arguments(M "WINDOWS" "NAME;VERSION;DESCRIPTION;LEVEL" "" ${ARGN})
  if(NOT M_LEVEL MATCHES "^(asInvoker|requireAdministrator)$")
    message(FATAL_ERROR "qv_manifest(${output}): LEVEL must be asInvoker or requireAdministrator")
  endif()
  set(M_DEPENDENCY "")
  if(M_WINDOWS)
    set(M_DEPENDENCY [=[
  <dependency>
    <dependentAssembly>
      <assemblyIdentity type="win32" name="Microsoft.Windows.Common-Controls" version="6.0.0.0"
                        processorArchitecture="*" publicKeyToken="6595b64144ccf1df" language="*"/>
    </dependentAssembly>
  </dependency>
]=])
  endif()
  configure_file(${CMAKE_SOURCE_DIR}/cmake/manifest.in ${output} @ONLY)
endfunction()
