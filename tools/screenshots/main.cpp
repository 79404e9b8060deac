// zanq-screenshot-scenes: builds the librarian as main() does, fills it with made-up patches and
// opens one window after another. For each scene it prints "shot NAME WINDOW-ID" and waits for
// a line on stdin, while tools/screenshots.sh takes the window's picture with `import`.
// Wants ZANQ_PROGRAM_FOLDER set to a scratch folder; it writes its .syx files there.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <array>
#include <iostream>
#include <string>
#include <vector>

#include "banktools/frmClear.h"
#include "banktools/frmSearch.h"
#include "banktools/frmSwap.h"
#include "export/frmExport.h"
#include "midi/frmBankSend.h"
#include "midi/frmMidiReceive.h"
#include "model/LibraryListWidget.h"
#include "shell/ClickableLabel.h"
#include "shell/LibrarianApp.h"
#include "shell/ProgramFolder.h"
#include "shell/frmMain.h"
#include "sysexfiles/SysexFileCommands.h"
#include "sysexfiles/frmSauver.h"
#include "update/frmAbout.h"

using namespace zanq;

namespace {

// A control of the main window, by the name it carries.
template <typename T>
T* Control(const QObject& window, const char* name) {
    return window.findChild<T*>(QString::fromLatin1(name));
}

// A program dump with a name and some made-up sound data.
PatchRecord Dump(const std::string& name, int bank, int program) {
    PatchRecord r(kRecordLength, '\0');
    const unsigned char header[7] = {0xF0, 0x00, 0x20, 0x32, 0x20, 0x00, 0x02};
    for (int i = 0; i < 7; ++i)
        r[static_cast<std::size_t>(i)] = static_cast<char>(header[i]);
    r[7] = 0x07;
    r[8] = static_cast<char>(bank);
    r[9] = static_cast<char>(program);
    for (std::size_t i = 10; i < 265; ++i)
        r[i] = static_cast<char>((i * 31 + static_cast<std::size_t>(bank * 128 + program)) & 0x7F);
    for (std::size_t i = 0; i < 17 && i < name.size(); ++i)
        r[265 + i] = name[i];
    r[290] = static_cast<char>(0xF7);
    return r;
}

// Names as a sound designer gives them, at most 16 characters: a character and a kind of sound.
// `kinds` picks from the first that many kinds; n from 0 to 16 x kinds - 1 gives distinct names.
std::string MadeUpName(int n, int kinds = 16) {
    static const std::array<const char*, 16> moods = {
        "Warm", "Glass", "Dark",   "Bright", "Soft",   "Wide",   "Deep",    "Vintage",
        "Airy", "Hard",  "Analog", "Mellow", "Hollow", "Dreamy", "Detuned", "Fat"};
    static const std::array<const char*, 16> sounds = {
        "Pad", "Strings", "Choir", "Sweep", "Drone", "Lead", "Sync",  "Pluck",
        "Arp", "Bass",    "Keys",  "Brass", "Poly",  "Bell", "Organ", "Ensemble"};
    const auto mood = static_cast<std::size_t>((n + n / 128 * 5) % 16);  // each bank its own
    const auto sound = static_cast<std::size_t>((n / 16 + n * 3) % kinds);
    return std::string(moods[mood]) + " " + sounds[sound];
}

void WriteSyx(const QString& path, const std::vector<PatchRecord>& records) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        for (const PatchRecord& r : records)
            file.write(r.data(), static_cast<qint64>(r.size()));
}

// Lets the window paint, then hands its picture over to the script.
void Shot(const char* name, QWidget* window) {
    QEventLoop settle;
    QTimer::singleShot(400, &settle, &QEventLoop::quit);
    settle.exec();
    std::cout << "shot " << name << ' ' << window->winId() << std::endl;
    std::string answer;
    std::getline(std::cin, answer);
}

template <typename T>
T* Modal() {
    return qobject_cast<T*>(QApplication::activeModalWidget());
}

void Scenes(LibrarianApp& app) {
    frmMain& main = app.window();
    Shot("main", &main);

    QTimer::singleShot(0, [&] {  // the Save window runs its own loop
        auto* save = Modal<frmSauver>();
        Shot("save", save);
        save->close();
    });
    Control<QPushButton>(main, "cmdSauver")->click();

    Control<QPushButton>(main, "cmdMatrixUtils")->click();
    auto* banks = Modal<frmSwap>();
    banks->cmbSource->setCurrentIndex(2);
    banks->cmbDestination->setCurrentIndex(3);
    Shot("banks", banks);
    banks->close();

    Control<QAction>(main, "mnuClear")->trigger();
    auto* clear = Modal<frmClear>();
    clear->chkBank[2]->setChecked(true);
    clear->chkBank[frmClear::kLibraryBox]->setChecked(true);
    Shot("clear", clear);
    clear->close();

    Control<QPushButton>(main, "cmdSearch")->click();
    auto* search = Modal<frmSearch>();
    search->txtSearch->setText(QStringLiteral("warm pad"));
    Shot("search", search);
    search->close();

    Control<QAction>(main, "mnuAbout")->trigger();
    auto* about = Modal<frmAbout>();
    Shot("about", about);
    about->close();

    emit main.filledSlotDoubleClicked(*zanq::Slot::parse("B-7"));  // Export Patch
    frmExport* exporter = Control<frmExport>(main, "frmExport");
    exporter->cmbBank->setCurrentIndex(5);
    exporter->cmbPatch->setCurrentIndex(31);
    Shot("export", exporter);
    exporter->close();

    if (!Control<QPushButton>(main, "cmdMIDI_OUT")->isEnabled()) {
        std::cerr << "no DeepMind detected: no MIDI windows\n";
        return;
    }
    Control<QPushButton>(main, "cmdMIDI_OUT")->click();
    auto* send = Modal<frmBankSend>();
    send->chkBank[1]->setChecked(true);
    send->chkBank[2]->setChecked(true);
    Shot("banksend", send);
    send->close();

    Control<QPushButton>(main, "cmdMIDI_IN")->click();
    auto* receive = Modal<frmMidiReceive>();
    receive->chkBank[5]->setChecked(true);
    // The simulator leaves two programs unanswered twice over, so the run ends with a report
    // naming them; the picture is taken once the run has ended.
    auto* ended = new QTimer(receive);
    QObject::connect(ended, &QTimer::timeout, receive, [receive] {
        if (receive->running())
            return;
        Shot("receive", receive);
        receive->close();
    });
    receive->cmdMidiReceive->click();
    ended->start(100);
    QEventLoop run;  // the run goes on the event loop; the window goes once it has stopped
    QObject::connect(receive, &QObject::destroyed, &run, &QEventLoop::quit);
    run.exec();
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication qapp(argc, argv);
    LibrarianApp::SetUpApplication(qapp);
    const QDir folder(DefaultProgramFolder());
    // A folder as a user keeps it: a backup of the synth, collections, and files saved earlier.
    std::vector<PatchRecord> factory, pads, leads, session;
    for (int bank = 0; bank < 4; ++bank)
        for (int p = 0; p < kSlots; ++p)
            factory.push_back(Dump(MadeUpName(bank * 128 + p), bank, p));
    for (int i = 0; i < 40; ++i)
        pads.push_back(Dump(MadeUpName(i, 5), 0, i));  // pads, strings, choirs, sweeps, drones
    for (int i = 0; i < 25; ++i)
        leads.push_back(Dump(MadeUpName(i + 80, 10), 1, i));
    for (int i = 0; i < 12; ++i)
        session.push_back(Dump(MadeUpName(i * 11), 0, i));
    WriteSyx(folder.filePath(QStringLiteral("Factory A-D.syx")), factory);
    WriteSyx(folder.filePath(QStringLiteral("My pads.syx")), pads);
    WriteSyx(folder.filePath(QStringLiteral("Leads 2024.syx")), leads);
    WriteSyx(folder.filePath(QStringLiteral("Patchlist - Sunday jam.syx")), session);
    WriteSyx(folder.filePath(QStringLiteral("Live set - BANK_A.syx")), session);
    QDir(folder).mkdir(QStringLiteral("Downloaded banks"));

    LibrarianApp app(folder.path());
    frmMain& main = app.window();
    auto* files = main.findChild<SysexFileCommands*>();
    const auto load = [&](const char* name, LoadTarget target) {
        app.librarian().loadFile(QFile::encodeName(folder.filePath(QString::fromUtf8(name))),
                                 target);
    };
    load("Factory A-D.syx", LoadTarget::Matrix);
    load("My pads.syx", LoadTarget::Library);
    load("Leads 2024.syx", LoadTarget::Library);
    files->RefreshFileList();
    files->selectFile(1);
    Control<QListWidget>(main, "List1")->setCurrentRow(3);
    main.show();
    QTimer::singleShot(1000, &main, [&] {
        Scenes(app);
        QCoreApplication::exit(0);
    });
    return qapp.exec();
}
