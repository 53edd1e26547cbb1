# Runs morvanta-cli as a script or a technician would, under Wine: help, a clean scan with
# the shipped database, planted hits (a file a database entry names, and the EICAR test file
# behind a Run value, found by its digest through the running objects), the errors, the
# quarantine commands, and the full report and the autoruns rows with a planted Run value.
#   cmake -DTOOL=morvanta-cli.exe -DEMULATOR=wine-run -DWORK=dir -DPYTHON=python3
#         -DFILES_DAT=files.dat -DVERSION=x.y.z -P this
foreach(var TOOL EMULATOR WORK PYTHON FILES_DAT VERSION)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()

# Runs the tool with ARGN; fails unless it exits with `expected`. Leaves its output in `out`
# and `err`.
function(cli expected)
  execute_process(COMMAND "${EMULATOR}" "${TOOL}" ${ARGN}
                  RESULT_VARIABLE status OUTPUT_VARIABLE stdout ERROR_VARIABLE stderr)
  if(NOT "${status}" STREQUAL "${expected}")
    message(FATAL_ERROR "morvanta-cli ${ARGN}: exit status ${status}, expected ${expected}\n"
                        "${stdout}${stderr}")
  endif()
  set(out "${stdout}" PARENT_SCOPE)
  set(err "${stderr}" PARENT_SCOPE)
endfunction()

function(expect_in text part)
  string(FIND "${text}" "${part}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "expected \"${part}\" in:\n${text}")
  endif()
endfunction()

# A host path as the Windows program sees it (Wine maps the root to drive Z:).
function(windows_path out path)
  string(REPLACE "/" "\\" path "${path}")
  set(${out} "Z:${path}" PARENT_SCOPE)
endfunction()

# How often a text occurs in another.
function(count_of out text part)
  string(REPLACE "${part}" "\n" marked "${text}")
  string(LENGTH "${text}" before)
  string(LENGTH "${marked}" after)
  string(LENGTH "${part}" width)
  math(EXPR n "(${before} - ${after}) / (${width} - 1)")
  set(${out} ${n} PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

cli(0 --help)
expect_in("${out}" "usage: morvanta-cli")
cli(0 --version)
expect_in("${out}" "morvanta-cli (Morvanta Pro) ${VERSION}")

# A clean machine, the database beside the program.
cli(0 scan)
expect_in("${out}" "Files found: 0")

# Planted: a file an entry names, and the EICAR test file (made here from two halves, so it
# does not stand in the sources) started from a Run value.
file(WRITE "${WORK}/worm.exe" "a planted worm")
string(CONCAT eicar "X5O!P%@AP[4\\PZX54(P^)7CC)7}$" "EICAR-STANDARD-ANTIVIRUS-TEST-FILE!$H+H*")
file(WRITE "${WORK}/eicar.com" "${eicar}")
windows_path(worm "${WORK}/worm.exe")
windows_path(eicarPath "${WORK}/eicar.com")
windows_path(database "${WORK}/planted.txt")
windows_path(absent "${WORK}/absent.exe")
file(WRITE "${WORK}/planted.txt"
     "Threat database 2026-12-10, Upd 0001  \r\n"
     "/44d88612fea8a8f36de82e1278abb02f/[EICAR-Test-File]::\r\n"
     "[Worm.Planted]:${worm}\r\n"
     "[Worm.Absent]:${absent}\r\n"
     "_end\r\n")
set(run "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run")
execute_process(COMMAND "${EMULATOR}" reg add "${run}" /v MorvantaCliTest /d "${eicarPath}" /f
                RESULT_VARIABLE added OUTPUT_QUIET ERROR_QUIET)
if(NOT added EQUAL 0)
  message(FATAL_ERROR "cannot write the Run value")
endif()
execute_process(COMMAND "${EMULATOR}" "${TOOL}" scan --database "${database}" --findings-only
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
execute_process(COMMAND "${EMULATOR}" reg delete "${run}" /v MorvantaCliTest /f
                OUTPUT_QUIET ERROR_QUIET)
if(NOT status EQUAL 1)
  message(FATAL_ERROR "planted scan: exit status ${status}, expected 1\n${out}${err}")
endif()
string(TOLOWER "${out}" lower)
string(TOLOWER "${worm}: Worm.Planted FOUND" wormLine)
string(TOLOWER "${eicarPath}: EICAR-Test-File FOUND" eicarLine)
expect_in("${lower}" "${wormLine}")
expect_in("${lower}" "${eicarLine}")
count_of(found "${out}" " FOUND")
if(NOT found EQUAL 2)
  message(FATAL_ERROR "expected two FOUND lines:\n${out}")
endif()
string(FIND "${out}" "SCAN SUMMARY" summary)
if(NOT summary EQUAL -1)
  message(FATAL_ERROR "--findings-only printed the summary:\n${out}")
endif()

# The full scan over a folder of copies, then the fix of everything found: the planted
# file and its copy go, a file of the same size with other bytes stays.
file(MAKE_DIRECTORY "${WORK}/copies/deeper")
file(WRITE "${WORK}/copies/deeper/renamed.bin" "a planted worm")
file(WRITE "${WORK}/copies/same-size.bin" "a planted wurm")
windows_path(copies "${WORK}/copies")
windows_path(renamed "${WORK}/copies/deeper/renamed.bin")
cli(1 scan --database "${database}" --drives "${copies}" --findings-only)
string(TOLOWER "${out}" lower)
string(TOLOWER "${renamed}: Worm.Planted FOUND" copyLine)
expect_in("${lower}" "${copyLine}")
count_of(found "${out}" " FOUND")
if(NOT found EQUAL 2)
  message(FATAL_ERROR "expected the planted file and its copy:\n${out}")
endif()
cli(0 scan --database "${database}" --drives "${copies}" --fix)
string(TOLOWER "${out}" lower)
string(TOLOWER "${worm}: Removed." wormRemoved)
string(TOLOWER "${renamed}: Removed." copyRemoved)
expect_in("${lower}" "${wormRemoved}")
expect_in("${lower}" "${copyRemoved}")
expect_in("${out}" "Copies found: 1")
expect_in("${out}" "Removed: 2")
if(EXISTS "${WORK}/worm.exe" OR EXISTS "${WORK}/copies/deeper/renamed.bin")
  message(FATAL_ERROR "--fix left what it reported removed:\n${out}")
endif()
if(NOT EXISTS "${WORK}/copies/same-size.bin")
  message(FATAL_ERROR "--fix removed a file that is no copy")
endif()
windows_path(nowhere "${WORK}/no such folder")
cli(2 scan --database "${database}" --drives "${nowhere}")
expect_in("${err}" "no drive or folder")

# Errors: a missing database, a damaged one, bad arguments.
cli(2 scan --database "${WORK}\\missing.dat")
expect_in("${err}" "cannot read the database")
execute_process(COMMAND "${PYTHON}" -c
  "import sys; d = open(sys.argv[1], 'rb').read(); open(sys.argv[2], 'wb').write(d[:len(d) // 2])"
  "${FILES_DAT}" "${WORK}/cut.dat" RESULT_VARIABLE made)
if(NOT made EQUAL 0)
  message(FATAL_ERROR "cannot make the damaged database")
endif()
windows_path(cut "${WORK}/cut.dat")
cli(2 scan --database "${cut}")
expect_in("${err}" "is damaged")
cli(2 scan --frobnicate)
cli(2 frobnicate)
cli(2)

# The quarantine: a file stored, listed, put back after its original went, removed again.
# Under Wine the store is the one beside the tool (build/win64/bin/Quarantine); the entries
# made here are removed at the end.
file(WRITE "${WORK}/suspect.exe" "the suspect's own bytes")
windows_path(suspect "${WORK}/suspect.exe")
cli(0 quarantine add "${suspect}")
expect_in("${out}" "${suspect}: added to quarantine")
cli(1 quarantine add "${suspect}")
expect_in("${out}" "already in quarantine")
cli(0 quarantine list)
expect_in("${out}" "${suspect}\tUnknown\t")
file(REMOVE "${WORK}/suspect.exe")
cli(0 quarantine restore "${suspect}")
file(READ "${WORK}/suspect.exe" restored)
if(NOT restored STREQUAL "the suspect's own bytes")
  message(FATAL_ERROR "the restore gave back \"${restored}\"")
endif()
cli(0 quarantine list)
string(FIND "${out}" "${suspect}" listed)
if(NOT listed EQUAL -1)
  message(FATAL_ERROR "a restored file is still listed:\n${out}")
endif()
cli(0 quarantine add "${suspect}")
cli(0 quarantine remove "${suspect}")
expect_in("${out}" "removed from quarantine")
cli(2 quarantine restore "${suspect}")
expect_in("${err}" "not in quarantine")
cli(2 quarantine add "${WORK}\\no-such-file.exe")

# The full report and the autoruns rows, with a Run value of the test's own planted (and
# removed again whatever happens): the report file holds its sections and the value, the
# CSV its row with the file's size and digest.
file(WRITE "${WORK}/autostart.exe" "a program started by a Run value")
file(MD5 "${WORK}/autostart.exe" autostartMd5)
windows_path(autostart "${WORK}/autostart.exe")
windows_path(reportFile "${WORK}/report.txt")
windows_path(minimalFile "${WORK}/minimal.txt")
execute_process(COMMAND "${EMULATOR}" reg add "${run}" /v MorvantaCliReport /d "${autostart}" /f
                RESULT_VARIABLE added OUTPUT_QUIET ERROR_QUIET)
if(NOT added EQUAL 0)
  message(FATAL_ERROR "cannot write the Run value")
endif()
execute_process(COMMAND "${EMULATOR}" "${TOOL}" report "${reportFile}"
                RESULT_VARIABLE reportStatus OUTPUT_VARIABLE reportOut ERROR_VARIABLE reportErr)
execute_process(COMMAND "${EMULATOR}" "${TOOL}" report "${minimalFile}" --no-infected
                  --no-processes --no-startup --no-services
                RESULT_VARIABLE minimalStatus OUTPUT_VARIABLE minimalOut ERROR_VARIABLE minimalErr)
execute_process(COMMAND "${EMULATOR}" "${TOOL}" autoruns
                RESULT_VARIABLE autorunsStatus OUTPUT_VARIABLE autoruns ERROR_VARIABLE autorunsErr)
execute_process(COMMAND "${EMULATOR}" reg delete "${run}" /v MorvantaCliReport /f
                OUTPUT_QUIET ERROR_QUIET)
if(NOT reportStatus EQUAL 0 OR NOT minimalStatus EQUAL 0 OR NOT autorunsStatus EQUAL 0)
  message(FATAL_ERROR "report ${reportStatus}, minimal report ${minimalStatus}, autoruns "
                      "${autorunsStatus}:\n${reportOut}${reportErr}${minimalErr}${autorunsErr}")
endif()
expect_in("${reportOut}" "${reportFile}")
# Every line ends with CR LF; the checks below read the files with LF alone.
foreach(name report minimal)
  execute_process(COMMAND "${PYTHON}" -c
    "import sys; d = open(sys.argv[1], 'rb').read(); assert d.endswith(b'\\r\\n') and d.count(b'\\n') == d.count(b'\\r\\n'); open(sys.argv[2], 'wb').write(d.replace(b'\\r\\n', b'\\n'))"
    "${WORK}/${name}.txt" "${WORK}/${name}.lf" RESULT_VARIABLE lines)
  if(NOT lines EQUAL 0)
    message(FATAL_ERROR "${name}.txt has lines that do not end with CR LF")
  endif()
endforeach()
file(READ "${WORK}/report.lf" report)
foreach(line
    "Morvanta Pro v7 - SE (Build date: 20.10.2011) full information log file.\nGenerated at: "
    "Morvanta Pro ${VERSION} - malware detection and removal for Windows workstations.\n"
    "\nRunning processes: ("
    "\nStartup files:\n"
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\MorvantaCliReport\n[${autostart}]\n"
    "\n\nDetail report: ("
    "\n\nStartup folder: ("
    "\n\nKeyboard drivers: ("
    "\n\nServices: ("
    "\nFinished...\n")
  expect_in("${report}" "${line}")
endforeach()
string(TOLOWER "${report}" lowerReport)
string(TOLOWER "RegRun ${autostart}[${autostartMd5}]" regRunLine)
expect_in("${lowerReport}" "${regRunLine}")
file(READ "${WORK}/minimal.lf" minimal)
foreach(absent "Running processes: (" "Startup files:" "Startup folder: (" "Services: (" "Virus list:")
  string(FIND "${minimal}" "${absent}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "the minimal report holds \"${absent}\":\n${minimal}")
  endif()
endforeach()
expect_in("${minimal}" "\n\n\n\nDetail report: (")
expect_in("${minimal}" "\n\nKeyboard drivers: (")
expect_in("${autoruns}" "kind,path,size,key,md5\n")
string(TOLOWER "${autoruns}" lowerAutoruns)
string(TOLOWER "RegStartup,${autostart},32,HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\,${autostartMd5}" autorunsLine)
expect_in("${lowerAutoruns}" "${autorunsLine}")
expect_in("${autoruns}" "\nProc,")
cli(2 report --frobnicate)
cli(2 autoruns --frobnicate)

file(REMOVE_RECURSE "${WORK}")
