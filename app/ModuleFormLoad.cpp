#include "ModuleFormLoad.h"

#include "AppPath.h"
#include "BoardColors.h"
#include "Clock.h"
#include "Difficulty.h"
#include "GameCommands.h"
#include "GameState.h"
#include "GradeFile.h"
#include "MessageBox.h"
#include "ModuleGameSetting.h"
#include "MultimediaControl.h"
#include "SaveFile.h"
#include "SettingFile.h"
#include "Skin.h"
#include "TextFile.h"

#include <QDir>
#include <QFileInfo>

void ModuleFormLoad::applyDesign(GameState &form)
{
    constexpr int kRight = 4800;
    form.Frame1.move(kRight, 450, 1335, 1245);
    form.Frame1.setCaption(QStringLiteral("难度选择"));
    for (const Difficulty::Level &level : Difficulty::levels()) {
        Control &option = form.*level.option;
        option.setCaption(level.captionText());
        option.move(300, level.optionTop, 855, 255);
        (form.*level.menuItem).setCaption(level.captionText());
    }
    (form.*Difficulty::atStart().option).setChecked(true);

    struct Button
    {
        Control &control;
        const char *base;
        int top;
    };
    for (const Button &b :
        { Button { form.cmdStart, "start", 1920 }, Button { form.cmdContinue, "continue", 2380 },
            Button { form.cmdSave, "save", 2860 }, Button { form.cmdNext, "next", 3340 },
            Button { form.cmdFinished, "finish", 3820 }, Button { form.cmdExit, "exit", 4660 } }) {
        b.control.move(kRight, b.top, 1335, 375);
        b.control.setPicture(Skin::literal(QLatin1String(b.base) + QLatin1Char('1')));
    }
    form.labelTime.move(kRight, 4300, 1335, 255);
    form.labelTime.setFontBold(true);
    form.labelTime.setFontSize(12);
    form.labelTime.setCaption(QStringLiteral("00:00:00"));

    struct Picture
    {
        Control &control;
        const char *file;
        int left, top, width, height;
    };
    for (const Picture &p : { Picture { form.picTitleLeft, "titleleft1", 0, 0, 1830, 390 },
             Picture { form.picTitle, "titleshort", 30, 0, 6975, 390 },
             Picture { form.picMusicPlay, "musicplay", 4630, 85, 225, 225 },
             Picture { form.picMusicStop, "musicstop", 4630, 85, 225, 225 },
             Picture { form.picPutOnFront, "putonfront1", 4900, 85, 225, 225 },
             Picture { form.picMinimize, "minimize1", 5220, 85, 375, 225 },
             Picture { form.picClose, "close1", 5640, 85, 525, 225 } }) {
        p.control.move(p.left, p.top, p.width, p.height);
        p.control.setPicture(Skin::literal(QLatin1String(p.file)));
    }
    form.picMusicStop.setVisible(false);

    form.Frame2.move(4780, 430, 620, 4620);
    for (int k = 0; k < 9; ++k) {
        form.Label1(k).move(120, 220 + 490 * k, 375, 375);
        form.Label1(k).setBackColor(BoardColors::kPaper);
    }
    form.Shape2.move(130, 530, 4530, 4530);
    form.txtEnter.move(0, 0, 515, 515);

    const char *const captions[][2] = {
        { "menuMain", "菜单" },
        { "menuGame_Start", "开始(&B)" },
        { "menuGame_Continue", "继续(&C)" },
        { "menuGame_Save", "存盘(&S)" },
        { "menuGame_Clear", "擦除重做(&R)" },
        { "menuGame_Reload", "重置游戏" },
        { "menuGame_CopyToClipboard", "复制到剪贴板" },
        { "menuGame_SavePicture", "保存为图片..." },
        { "menuGame_Print", "打印..." },
        { "menuDo", "操作(&D)" },
        { "menuDo_Next", "下一题(&N)" },
        { "menuDo_Difficoulty", "难度选择" },
        { "menuDo_Finished", "完成(&F)" },
        { "menuSetting", "设置(&S)" },
        { "menuSetting_ShowNumberHint", "显示数字提示" },
        { "menuSetting_ShowCrossHint", "显示十字提示" },
        { "menuSetting_PieceColor", "增强色块" },
        { "menuSetting_ShowBorder", "显示边框" },
        { "menuSetting_FontBold", "粗体显示数字" },
        { "menuSetting_PlayMusic", "播放背景音乐" },
        { "menuSetting_PlayMusic_osmira", "Osmira" },
        { "menuSetting_PlayMusic_HappyGM", "HappyGM" },
        { "menuSetting_PlayMusic_Waltz", "Waltz" },
        { "menuSetting_PlayMusic_StartPlay", "开始播放(&P)" },
        { "menuSetting_PlayMusic_StopPlay", "停止播放" },
        { "menuSetting_ExitAutoSave", "退出时自动记录" },
        { "menuSetting_PutOnFront", "置于前端" },
        { "menuGame_Grade", "成绩" },
        { "menuAbout", "关于(&A)" },
        { "menuAbout_Help", "帮助(&H)" },
        { "menuAbout_Copyright", "版权声明" },
        { "menuAbout_AboutMe", "关于软件(&A)" },
        { "menuAbout_UpdateInfo", "更新信息(&U)" },
        { "menuGame_SoftUpdata", "更新验证..." },
        { "menuGame_Exit", "退出(&X)" },
    };
    for (const auto &entry : captions) {
        if (Control *item = form.findControl(QLatin1String(entry[0])))
            item->setCaption(QString::fromUtf8(entry[1]));
    }
    // Tunes can be picked only while music plays.
    form.menuSetting_PlayMusic_StopPlay.setVisible(false);
}

void ModuleFormLoad::Form_Load(GameState &form)
{
    form.setMousePointer(GameState::kPointerHourglass);
    if (MultimediaControl *mm = form.MMControl1) {
        mm->Notify = true;
        mm->DeviceType = QStringLiteral("Sequencer");
        mm->FileName = AppPath::file(QStringLiteral("\\bkmusic\\osmira.mid"));
    }
    // What a write cut short by the end of the program left beside the
    // files; only one copy of the game runs, so no write is under way.
    for (const QString &path : { SettingFile::path(), GradeFile::path(), SaveFile::path() })
        TextFile::removeLeftovers(path);
    const QString gradePath = GradeFile::pathToRead();
    QString error;
    bool created = GradeFile::createDefaultIfMissing(gradePath, &error);
    const QString settingPath = SettingFile::pathToRead();
    if (created && !QFileInfo::exists(settingPath))
        created = TextFile::writeLines(settingPath, SettingFile::defaultLines(), &error);
    if (!created) {
        // Without its files the game still plays, on the defaults; the
        // player should know that nothing will be kept, and where it was
        // tried when the program folder was passed over.
        const QString dataFolder = AppPath::dataFolder();
        const QString where = dataFolder == AppPath::folder()
            ? QStringLiteral("程序文件夹")
            : QStringLiteral("程序文件夹和用户数据文件夹 %1 ").arg(QDir::toNativeSeparators(dataFolder));
        MessageBox::critical(QStringLiteral("出错"),
            QStringLiteral("无法在") + where
                + QStringLiteral("中创建数据文件，本次使用默认设置，"
                                 "设置和成绩不会被保存。\r\n")
                + error);
    }
    const QStringList setting = SettingFile::read(settingPath);
    form.GameTimeStart = Clock::now();
    const GradeFile::Values grade = GradeFile::read(gradePath);
    form.strLastFinishedTime = grade.lastFinishedTime;
    form.strFastestTime = grade.fastestTime;
    form.strTotalTime = grade.totalTime;
    form.strFinishedCount = grade.finishedCount;
    form.strGrade = grade.grade;

    form.menuMain.setVisible(false);
    for (Control *item : { &form.menuGame_Clear, &form.menuGame_Print, &form.menuGame_SavePicture,
             &form.menuGame_CopyToClipboard })
        item->setEnabled(false);
    Difficulty::checkMenuItem(form, Difficulty::atStart());
    form.menuSetting_PlayMusic.setEnabled(false);
    form.menuSetting_ShowNumberHint.setChecked(SettingFile::isOn(setting.at(SettingFile::kShowNumberHint)));
    ModuleGameSetting::ApplyLayout(form);
    form.menuSetting_ShowCrossHint.setChecked(SettingFile::isOn(setting.at(SettingFile::kShowCrossHint)));
    form.menuSetting_ExitAutoSave.setChecked(SettingFile::isOn(setting.at(SettingFile::kAutoSave)));
    const bool bold = SettingFile::isOn(setting.at(SettingFile::kFontBold));
    form.menuSetting_FontBold.setChecked(bold);
    const bool onTop = SettingFile::isOn(setting.at(SettingFile::kPutOnFront));
    form.menuSetting_PutOnFront.setChecked(onTop);
    form.picPutOnFront.setPicture(
        Skin::literal(onTop ? QStringLiteral("putonfront2") : QStringLiteral("putonfront1")));
    form.menuSetting_PieceColor.setChecked(SettingFile::isOn(setting.at(SettingFile::kPieceColor)));
    const bool border = SettingFile::isOn(setting.at(SettingFile::kShowBorder));
    form.menuSetting_ShowBorder.setChecked(border);
    form.Shape2.setVisible(border);

    form.lColorValue = QString::number(BoardColors::kHint);
    form.lEmptyColorValue = QString::number(BoardColors::kPlayer);
    form.lNumericalTimeTrueColor = QString::number(BoardColors::kNumberHintComplete);
    form.lPieceColorValue = QString::number(BoardColors::kShading);
    form.labelTime.setCaption(QStringLiteral("00:00:00"));

    form.txtEnter.setWidth(515);
    form.txtEnter.setHeight(515);
    form.txtEnter.setEnabled(false);
    form.txtEnter.setVisible(false);
    form.txtEnter.setText(QString());
    form.txtEnter.setFontSize(19);
    form.txtEnter.setFontBold(false);
    form.txtEnter.setBackColor(BoardColors::kEntry);

    const bool saved = QFileInfo::exists(SaveFile::pathToRead());
    Skin::setEnabled(form.cmdContinue, QStringLiteral("continue"), saved);
    form.menuGame_Continue.setEnabled(saved);
    GameCommands::withdrawPlay(form);
    form.labelTime.setVisible(false);
    (form.*Difficulty::atStart().option).setValue(true);
    form.ProgressBarMake.setVisible(false);

    for (int i = 0; i < GameState::kCells; ++i) {
        CellLabel &cell = form.L(i);
        cell.clear();
        cell.setFontSize(24);
        cell.setFontBold(bold);
        cell.setEnabled(false);
    }
    ModuleGameSetting::RepaintBoard(form);
    if (const Difficulty::Level *level = Difficulty::selected(form))
        form.Difficulty = level->wordText();
    for (int k = 0; k < 9; ++k) {
        form.Label1(k).setFontBold(true);
        form.Label1(k).setFontSize(17);
        form.Label1(k).setCaption(QString::number(k + 1));
    }
    form.setMousePointer(GameState::kPointerDefault);
}
