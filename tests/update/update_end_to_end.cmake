# The database update as a scripted machine runs it, under Wine: morvanta-sig publishes a
# site into the folder a local HTTP server serves, morvanta-cli beside its own files.dat
# fetches it whole, then a piece, and refuses a piece whose bytes are not the ones signed.
#   cmake -DCLI=morvanta-cli.exe -DSIG=morvanta-sig.exe -DEMULATOR=wine-run -DWORK=dir
#         -DSITE=served-folder -DPORT_FILE=http.port -DKEY=dev-update.key -P this
foreach(var CLI SIG EMULATOR WORK SITE PORT_FILE KEY)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()

function(windows_path out path)
  string(REPLACE "/" "\\" path "${path}")
  set(${out} "Z:${path}" PARENT_SCOPE)
endfunction()

# Runs a program; fails unless it exits with `expected`; leaves its output in `out`.
function(run expected)
  execute_process(COMMAND "${EMULATOR}" ${ARGN}
                  RESULT_VARIABLE status OUTPUT_VARIABLE stdout ERROR_VARIABLE stderr)
  if(NOT "${status}" STREQUAL "${expected}")
    message(FATAL_ERROR "${ARGN}: exit status ${status}, expected ${expected}\n${stdout}${stderr}")
  endif()
  set(out "${stdout}${stderr}" PARENT_SCOPE)
endfunction()

function(expect_in text part)
  string(FIND "${text}" "${part}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "expected \"${part}\" in:\n${text}")
  endif()
endfunction()

# A database text of counter N: the entries of every version up to N, four per version, so
# that each piece is above the size the program ignores.
function(database_text out n)
  set(text "Thursday, 10.12.2026, Upd 000${n}   \r\n")
  foreach(v RANGE 1 ${n})
    foreach(i 1 2 3 4)
      string(APPEND text "[Worm.E2E${v}x${i}]:C:\\e2e\\version${v}-file${i}.exe\r\n")
    endforeach()
  endforeach()
  string(APPEND text "_end\r\n")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(publish n)
  database_text(text ${n})
  file(WRITE "${WORK}/db${n}.txt" "${text}")
  windows_path(db "${WORK}/db${n}.txt")
  windows_path(site "${SITE}")
  windows_path(key "${KEY}")
  run(0 "${SIG}" publish --database "${db}" --site "${site}" --key "${key}")
endfunction()

file(REMOVE_RECURSE "${WORK}" "${SITE}/updr2")
file(MAKE_DIRECTORY "${WORK}/program")
file(READ "${PORT_FILE}" port)
string(STRIP "${port}" port)
file(COPY "${CLI}" DESTINATION "${WORK}/program")
get_filename_component(cli_name "${CLI}" NAME)
set(cli "${WORK}/program/${cli_name}")
file(WRITE "${WORK}/program/morvanta.ini" "[UpdateServer]\r\nHost=127.0.0.1\r\nPort=${port}\r\n")
database_text(local 1)
file(WRITE "${WORK}/local.txt" "${local}")
windows_path(localTxt "${WORK}/local.txt")
windows_path(filesDat "${WORK}/program/files.dat")
run(0 "${SIG}" pack "${localTxt}" "${filesDat}")

# Nothing served yet: an error, files.dat as it was.
file(SHA256 "${WORK}/program/files.dat" before)
run(2 "${cli}" update)
expect_in("${out}" "update failed")

# The first site: no piece yet, so the whole database.
publish(2)
run(0 "${cli}" update)
expect_in("${out}" "Database updated: Thursday, 10.12.2026, Upd 0002")
expect_in("${out}" "(whole database)")
run(0 "${cli}" update)
expect_in("${out}" "Database up to date")

# The next version: one piece.
publish(3)
run(0 "${cli}" update)
expect_in("${out}" "Upd 0003")
expect_in("${out}" "(1 update piece)")

# A piece whose bytes were changed after signing is refused, files.dat stays.
publish(4)
file(SHA256 "${WORK}/program/files.dat" before)
execute_process(COMMAND python3 -c
  "import sys; d = bytearray(open(sys.argv[1], 'rb').read()); d[0] ^= 1; open(sys.argv[1], 'wb').write(d)"
  "${SITE}/updr2/upd/4.htm")
run(2 "${cli}" update)
expect_in("${out}" "not the maker's")
file(SHA256 "${WORK}/program/files.dat" after)
if(NOT before STREQUAL after)
  message(FATAL_ERROR "a refused piece changed files.dat")
endif()
run(2 "${cli}" update --frobnicate)
file(REMOVE_RECURSE "${WORK}" "${SITE}/updr2")
