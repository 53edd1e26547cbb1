# Runs morvanta-sig through all its commands on the shipped text and on a damaged one, and
# checks outputs and exit statuses. Under Wine, EMULATOR runs the Windows build.
#   cmake -DTOOL=... -DEMULATOR=... -DGOOD=files.txt -DBAD=bad_files.txt -DWORK=dir
#         -DPYTHON=python3 -DLANG_SOURCE=Deutsch.txt -DLANG_SHIPPED=Deutsch.vlng -P this
foreach(var TOOL GOOD BAD WORK PYTHON LANG_SOURCE LANG_SHIPPED)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()

# Runs the tool with ARGN and fails unless it exits with `expected`; leaves its standard
# output in `out`.
function(sig expected)
  execute_process(COMMAND ${EMULATOR} "${TOOL}" ${ARGN}
                  RESULT_VARIABLE status OUTPUT_VARIABLE stdout ERROR_VARIABLE stderr)
  if(NOT "${status}" STREQUAL "${expected}")
    message(FATAL_ERROR "morvanta-sig ${ARGN}: exit status ${status}, expected ${expected}\n"
                        "${stdout}${stderr}")
  endif()
  set(out "${stdout}" PARENT_SCOPE)
endfunction()

function(expect_same_file a b)
  file(READ "${a}" left HEX)
  file(READ "${b}" right HEX)
  if(NOT left STREQUAL right)
    message(FATAL_ERROR "${a} and ${b} differ")
  endif()
endfunction()

function(expect_in text part)
  string(FIND "${text}" "${part}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "expected \"${part}\" in:\n${text}")
  endif()
endfunction()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

# Both container forms come back as the same text.
sig(0 pack "${GOOD}" "${WORK}/files.dat")
sig(0 unpack "${WORK}/files.dat" "${WORK}/files.txt")
expect_same_file("${GOOD}" "${WORK}/files.txt")
sig(0 piece "${GOOD}" "${WORK}/piece.dat")
sig(0 unpack "${WORK}/piece.dat" "${WORK}/piece.txt")
expect_same_file("${GOOD}" "${WORK}/piece.txt")

file(STRINGS "${GOOD}" first LIMIT_COUNT 1)
string(STRIP "${first}" first)
foreach(form "${GOOD}" "${WORK}/files.dat" "${WORK}/piece.dat")
  sig(0 date "${form}")
  string(STRIP "${out}" date)
  if(NOT date STREQUAL first)
    message(FATAL_ERROR "date of ${form}: \"${date}\", expected \"${first}\"")
  endif()
  sig(0 lint "${form}")
endforeach()

# Problems come with line numbers, in every form.
sig(0 pack "${BAD}" "${WORK}/bad.dat")
foreach(form "${BAD}" "${WORK}/bad.dat")
  sig(1 lint "${form}")
  expect_in("${out}" ":3: digest must be 32 lower-case hex digits")
  expect_in("${out}" ":4: folder entry must end in a double backslash")
  expect_in("${out}" ":6: section line [Win32Root] directly after [System32Root]")
endforeach()

# Bytes that are no database at all: reported, not a crash.
string(RANDOM LENGTH 3000 RANDOM_SEED 7 garbage)
file(WRITE "${WORK}/garbage.bin" "${garbage}")
sig(1 lint "${WORK}/garbage.bin")
sig(1 date "${WORK}/garbage.bin")
sig(1 unpack "${WORK}/garbage.bin" "${WORK}/garbage.txt")  # plain text: nothing to unpack
file(WRITE "${WORK}/empty.txt" "")
sig(1 lint "${WORK}/empty.txt")

# A packed database cut short, and random bytes: damaged, whatever is asked of them.
execute_process(COMMAND "${PYTHON}" -c "
import random, sys
data = open(sys.argv[1], 'rb').read()
open(sys.argv[2], 'wb').write(data[:len(data) // 2])
random.seed(7)
open(sys.argv[3], 'wb').write(bytes(random.randrange(256) for _ in range(3000)))
" "${WORK}/files.dat" "${WORK}/cut.dat" "${WORK}/noise.bin" RESULT_VARIABLE made)
if(NOT made EQUAL 0)
  message(FATAL_ERROR "cannot make the damaged files")
endif()
foreach(form "${WORK}/cut.dat" "${WORK}/noise.bin")
  foreach(command date lint)
    sig(1 ${command} "${form}")
  endforeach()
  sig(1 unpack "${form}" "${WORK}/damaged.txt")
  if(EXISTS "${WORK}/damaged.txt")
    message(FATAL_ERROR "unpack of ${form} wrote a text")
  endif()
endforeach()

# The update site: a key pair, a first site, then a second database with added entries.
sig(0 keygen "${WORK}/maker.key")
string(STRIP "${out}" public_key)
file(STRINGS "${WORK}/maker.key.pub" public_line REGEX "^[0-9a-f]+$")
if(NOT public_key STREQUAL public_line OR NOT public_key MATCHES "^[0-9a-f]+$")
  message(FATAL_ERROR "keygen printed \"${public_key}\", the .pub file holds \"${public_line}\"")
endif()
sig(2 keygen "${WORK}/maker.key")  # never replaced
file(WRITE "${WORK}/program.exe" "MZ stands in for the program")
sig(0 publish --database "${GOOD}" --site "${WORK}/site" --key "${WORK}/maker.key")
expect_in("${out}" "updr2/files2.htm")
# CMake's file(READ) would drop the CRs: Python makes the next databases.
execute_process(COMMAND "${PYTHON}" -c "
import sys
text = open(sys.argv[1], 'rb').read().replace(b'2026-01-12, Upd 1', b'2026-01-13, Upd 2')
text = text.replace(b'_end\\r\\n', b'[Start]\\r\\n[Worm.Test.One]:%%wt%%\\\\one.exe\\r\\n'
                    b'[Worm.Test.Two]:%%wt%%\\\\two.exe\\r\\n_end\\r\\n')
open(sys.argv[2], 'wb').write(text)
open(sys.argv[3], 'wb').write(text.replace(b'Upd 2', b'Upd 3'))
" "${GOOD}" "${WORK}/second.txt" "${WORK}/third.txt" RESULT_VARIABLE made)
if(NOT made EQUAL 0)
  message(FATAL_ERROR "cannot make the later databases")
endif()
sig(0 publish --database "${WORK}/second.txt" --site "${WORK}/site" --key "${WORK}/maker.key"
    --program "${WORK}/program.exe" --log-upload)
foreach(name list.htm files2.htm upd/2.htm kavup.htm)
  foreach(file "${name}" "${name}.sig")
    if(NOT EXISTS "${WORK}/site/updr2/${file}")
      message(FATAL_ERROR "publish wrote no updr2/${file}")
    endif()
  endforeach()
  file(SIZE "${WORK}/site/updr2/${name}.sig" sig_size)
  if(NOT sig_size EQUAL 64)
    message(FATAL_ERROR "updr2/${name}.sig is ${sig_size} bytes, not 64")
  endif()
endforeach()
expect_same_file("${WORK}/program.exe" "${WORK}/site/updr2/kavup.htm")
# file(READ) as text drops the CRs: compared as files.
set(version "Morvanta Pro v7 - SE (Build date: 20.10.2011)")
file(WRITE "${WORK}/expected-list.htm"
  "Morvanta Pro\r\nThreat database 2026-01-13, Upd 2\r\n${version}\r\n\r\n1\r\n1\r\n")
expect_same_file("${WORK}/expected-list.htm" "${WORK}/site/updr2/list.htm")
sig(0 unpack "${WORK}/site/updr2/upd/2.htm" "${WORK}/piece2.txt")
file(WRITE "${WORK}/expected-piece2.txt" "Threat database 2026-01-13, Upd 2\r\n[Start]\r\n"
  "[Worm.Test.One]:%%wt%%\\one.exe\r\n[Worm.Test.Two]:%%wt%%\\two.exe\r\n_end\r\n")
expect_same_file("${WORK}/expected-piece2.txt" "${WORK}/piece2.txt")
sig(0 unpack "${WORK}/site/updr2/files2.htm" "${WORK}/whole.txt")
expect_same_file("${WORK}/second.txt" "${WORK}/whole.txt")
# Refused: the same update number again, a database that fails lint, another key.
sig(2 publish --database "${WORK}/second.txt" --site "${WORK}/site" --key "${WORK}/maker.key")
sig(2 publish --database "${BAD}" --site "${WORK}/site" --key "${WORK}/maker.key")
sig(0 keygen "${WORK}/other.key")
sig(2 publish --database "${WORK}/third.txt" --site "${WORK}/site" --key "${WORK}/other.key")
sig(0 unpack "${WORK}/site/updr2/files2.htm" "${WORK}/still.txt")
expect_same_file("${WORK}/second.txt" "${WORK}/still.txt")
sig(2 publish --database "${WORK}/third.txt" --site "${WORK}/site")
sig(2 publish --database "${WORK}/third.txt" --site "${WORK}/site" --key "${WORK}/maker.key"
    --lowest x)

# Language files. The template of the built-in texts, packed and unpacked unchanged; it
# ends with the text of the last entry, so the tool says that one line more is needed.
sig(0 lang-template "${WORK}/Default.txt")
file(READ "${WORK}/Default.txt" template_text)
if(NOT template_text MATCHES "^begin\\(\\):\r?\nMorvanta Pro - SE\r?\nScan for viruses\r?\n"
   OR NOT template_text MATCHES "\nWelcome\r?\nBuild log about\r?\n$")
  message(FATAL_ERROR "template of the built-in texts:\n${template_text}")
endif()
sig(1 lang-pack "${WORK}/Default.txt" "${WORK}/Default.vlng")
sig(1 lang-unpack "${WORK}/Default.vlng" "${WORK}/Default-back.txt")
expect_same_file("${WORK}/Default.txt" "${WORK}/Default-back.txt")
file(COPY_FILE "${WORK}/Default.txt" "${WORK}/Complete.txt")
file(APPEND "${WORK}/Complete.txt" "\r\n")
sig(0 lang-pack "${WORK}/Complete.txt" "${WORK}/Complete.vlng")
file(READ "${WORK}/Complete.vlng" packed_head LIMIT 8)
if(packed_head MATCHES "^begin")
  message(FATAL_ERROR "the language file is not scrambled")
endif()
# The shipped translation: the tool packs the same bytes as the build does.
sig(0 lang-pack "${LANG_SOURCE}" "${WORK}/Deutsch.vlng")
expect_same_file("${LANG_SHIPPED}" "${WORK}/Deutsch.vlng")
sig(0 lang-unpack "${LANG_SHIPPED}" "${WORK}/Deutsch.txt")
expect_same_file("${LANG_SOURCE}" "${WORK}/Deutsch.txt")
# Without the marker nothing is written; neither plain text nor noise is a language file.
file(WRITE "${WORK}/nomarker.txt" "Deutsch\r\nAuf Viren pruefen\r\n")
sig(1 lang-pack "${WORK}/nomarker.txt" "${WORK}/nomarker.vlng")
if(EXISTS "${WORK}/nomarker.vlng")
  message(FATAL_ERROR "a language file was written for a text without its marker")
endif()
sig(1 lang-unpack "${WORK}/Default.txt" "${WORK}/plain-back.txt")
sig(1 lang-unpack "${WORK}/garbage.bin" "${WORK}/garbage-lang.txt")
sig(2 lang-pack "${WORK}/missing.txt" "${WORK}/missing.vlng")
sig(2 lang-pack "${WORK}/Complete.txt")

# Unusable input and wrong usage.
sig(2 lint "${WORK}/missing.txt")
sig(2 lint "${WORK}")
sig(2 unpack "${WORK}/missing.dat" "${WORK}/out.txt")
sig(2 pack "${GOOD}" "${WORK}/no/such/folder/files.dat")
sig(2 frobnicate)
sig(2)

file(REMOVE_RECURSE "${WORK}")
