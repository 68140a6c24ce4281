# LibreOffice for the report tests, sourced after xvfb.sh: `office` is its
# path (the test is skipped without it), and office_work makes the work
# folder `work` with bin/, cache/ and a LibreOffice profile of its own that
# shows neither the tip of the day nor the first-start wizard.
office=$(command -v soffice || command -v libreoffice) || {
    echo "SKIP: LibreOffice is not installed"
    exit 77
}

office_work() {
    work=$(mktemp -d)
    mkdir -p "$work/profile/user" "$work/bin" "$work/cache"
    cat >"$work/profile/user/registrymodifications.xcu" <<'XCU'
<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Office.Common/Misc"><prop oor:name="ShowTipOfTheDay" oor:op="fuse"><value>false</value></prop></item>
<item oor:path="/org.openoffice.Office.Common/Misc"><prop oor:name="FirstRun" oor:op="fuse"><value>false</value></prop></item>
<item oor:path="/org.openoffice.Setup/Office"><prop oor:name="ooSetupInstCompleted" oor:op="fuse"><value>true</value></prop></item>
</oor:items>
XCU
}

# Starts the program with the work folder's bin/ first on the PATH and its
# cache folder, numbers written the Russian way: its pid in `app`, its output
# in program.log (printed if the test fails).
start_program() {
    PATH="$work/bin:$PATH" XDG_CACHE_HOME="$work/cache" LC_ALL= LC_NUMERIC=ru_RU.UTF-8 \
        "$program" >"$work/program.log" 2>&1 &
    app=$!
    PROGRAM_LOG="$work/program.log" PROGRAM_PID=$app
}
