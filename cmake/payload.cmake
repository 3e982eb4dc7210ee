# qv_add_payload(MODULE module SYMBOL symbol NAME file-name
#                (FILE path | TARGET target) [LIBRARY library])
#
# Generates the module <module>.h/.cpp that defines the payload record
# <symbol>: the file's name, size and bytes, embedded when the program is
# linked. TARGET embeds a program that the build makes; such a record must be
# added in the folder that creates LIBRARY (default: payload), where the
# build attaches the rule that copies the program.
set(QV_PAYLOAD_TEMPLATES ${CMAKE_CURRENT_LIST_DIR}/../payload)

function(qv_add_payload)
  cmake_parse_arguments(P "" "MODULE;SYMBOL;NAME;FILE;TARGET;LIBRARY" "" ${ARGN})
  if(NOT P_LIBRARY)
    set(P_LIBRARY payload)
  endif()
  set(dir ${CMAKE_BINARY_DIR}/payload-records)
  if(P_TARGET)
    # A copy of the built program, remade whenever the program is, so that the
    # record's object is rebuilt with it.
    set(file ${dir}/${P_MODULE}.bin)
    add_custom_command(OUTPUT ${file}
      COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${P_TARGET}> ${file}
      DEPENDS ${P_TARGET}
      COMMENT "Payload ${P_NAME}")
    target_sources(${P_LIBRARY} PRIVATE ${file})
  else()
    set(file ${P_FILE})
  endif()
  set(MODULE ${P_MODULE})
  set(SYMBOL ${P_SYMBOL})
  set(NAME ${P_NAME})
  set(FILE "${file}")
  configure_file(${QV_PAYLOAD_TEMPLATES}/record.h.in ${dir}/${P_MODULE}.h @ONLY)
  configure_file(${QV_PAYLOAD_TEMPLATES}/record.cpp.in ${dir}/${P_MODULE}.cpp @ONLY)
  target_sources(${P_LIBRARY} PRIVATE ${dir}/${P_MODULE}.cpp)
  target_include_directories(${P_LIBRARY} PUBLIC ${dir})
  # Source properties belong to a directory: set it where the library is, so
  # that a record added from another folder is rebuilt with its file too.
  set_source_files_properties(${dir}/${P_MODULE}.cpp TARGET_DIRECTORY ${P_LIBRARY}
    PROPERTIES OBJECT_DEPENDS "${file}")
endfunction()
