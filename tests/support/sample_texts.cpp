// SPDX-License-Identifier: MIT
#include "tests/support/sample_texts.h"

#include "tests/support/random_text.h"

namespace solvena::testing {
namespace {

std::u16string Lines(std::string_view utf8) {
    std::u16string text;
    for (char16_t c : FromUtf8(utf8)) {
        if (c == u'\n') {
            text += u'\r';
        }
        text += c;
    }
    return text;
}

}  // namespace

const std::vector<SampleText>& SampleTexts() {
    static const std::vector<SampleText> texts = {
        {"Japanese prose",
         Lines("今朝は早く目が覚めたので、駅まで歩いてみることにした。まだ薄暗い道に"
               "人の姿はなく、パン屋の窓だけが明るかった。焼きたての匂いにつられて店に"
               "入ると、主人が「今日は寒いですね」と声をかけてくれた。\n"
               "電車の中で、昨日読みかけた本の続きを開いた。主人公は遠い町へ引っ越した"
               "ばかりで、知り合いは一人もいない。それでも毎朝同じ時間に散歩をし、少しず"
               "つ町の様子を覚えていく。その静かな話し方が、なぜか自分の今の暮らしに"
               "重なって見えた。\n"
               "会社に着くと、机の上に小さな箱が置いてあった。開けてみると、先週の会議で"
               "話した新しい部品の見本が入っている。思っていたよりずっと軽く、手触りも"
               "よかった。午後には工場の担当者と電話で打ち合わせをして、来月の試験の日程"
               "を決めなければならない。\n")},
        {"Japanese letter",
         Lines("山田様\n\nいつもお世話になっております。先日はお忙しいところ、貴重なお時間を"
               "いただきありがとうございました。\nご相談いただいた件につきまして、社内で検討"
               "いたしました結果、来年四月からの導入に向けて準備を進めることになりました。"
               "詳しい資料は改めてお送りいたしますので、ご確認のほどよろしくお願いいたします。"
               "\nなお、ご不明な点がございましたら、お気軽にお問い合わせください。\n\n"
               "株式会社みどり商会　営業部　佐藤\n")},
        {"Japanese katakana-rich",
         Lines("来週のプレゼンテーションでは、新しいソフトウェアのデモを行います。"
               "ノートパソコンとプロジェクター、それからマイクを会議室に用意してください。"
               "スライドは全部で二十枚ほどで、最初にチームのメンバーを紹介し、次にサービスの"
               "コンセプトとスケジュールを説明します。最後にアンケートをお願いする予定です。\n")},
        {"English paragraph",
         Lines("The old harbour town wakes slowly in winter. Fishing boats rock against the "
               "pier while gulls argue over the morning's scraps, and the baker on Quay Street "
               "opens her shutters a little after six. By eight the school bus has come and "
               "gone, and the only sound left is the wind in the rigging.\n"
               "Visitors who come in the summer rarely see this side of the place. They find "
               "crowded cafes, ice cream and long queues for the ferry, and they leave "
               "thinking they know it. Those who stay through January learn that the town "
               "has two lives, and that the quieter one is the truer of the two.\n")},
        {"English notes", Lines("Shopping: milk, eggs, bread, 2 lemons, coffee (the dark one)\n"
                                "Call Dr. Brown's office on Tuesday about the appointment.\n"
                                "Meeting moved to 3:30 pm, room 4B. Bring the Q3 figures!\n"
                                "Password hint: our first dog + the year we moved.\n")},
        {"Mixed notes",
         Lines("12月7日（月）\n・10時　打ち合わせ（本社3F）\n・資料：売上表 2026.xlsx\n"
               "・ToDo: 見積書をPDFで送る\n・田中さんに電話 090-1234-5678\n")},
        {"Digits", Lines("0312345678\n09012345678\n2026120719990104\n31415926535897932384\n"
                         "27182818284590452353\n16180339887498948482\n")},
    };
    return texts;
}

const std::vector<SampleText>& SampleNotes() {
    static const std::vector<SampleText> notes = {
        {"Japanese note", FromUtf8("明日は雨が降るらしい")},
        {"kana note", FromUtf8("おかあさんにでんわ。")},
        {"English note", FromUtf8("Buy milk!!")},
        {"English phrase", FromUtf8("see you at")},
        {"digits note", FromUtf8("0120444444")},
        {"date note", FromUtf8("2026/12/07")},
        {"mixed note", FromUtf8("10時に駅前で待つ")},
        {"katakana note", FromUtf8("コーヒーとケーキ")},
        {"half-width kana note", FromUtf8("ｺｰﾋｰ2ｺ ﾀﾉﾑ")},
    };
    return notes;
}

const std::vector<SampleText>& WorldTexts() {
    static const std::vector<SampleText> texts = {
        {"Thai", Lines("เมื่อวานนี้ฉันไปตลาดกับแม่ ซื้อผักและผลไม้หลายอย่าง อากาศร้อนมากแต่คนก็ยังเยอะ\n"
                       "พรุ่งนี้เราจะทำอาหารให้คุณยายที่บ้าน และจะเชิญเพื่อนบ้านมาทานข้าวด้วยกัน\n")},
        {"Arabic", Lines("ذهبت أمس إلى السوق مع أخي واشترينا خضارا وفاكهة. كان الجو حارا جدا، "
                         "لكن الناس كانوا كثيرين.\nغدا سنطبخ الغداء لجدتنا وندعو الجيران لتناول "
                         "الطعام معنا.\n")},
        {"Hebrew", Lines("אתמול הלכתי לשוק עם אחי וקנינו ירקות ופירות. היה חם מאוד, אבל היו הרבה "
                         "אנשים.\nמחר נבשל ארוחת צהריים לסבתא ונזמין את השכנים לאכול איתנו.\n")},
        {"Devanagari", Lines("कल मैं अपने भाई के साथ बाज़ार गया और हमने सब्ज़ियाँ और फल खरीदे। मौसम "
                             "बहुत गरम था, फिर भी बहुत लोग थे।\nकल हम दादी के लिए खाना बनाएँगे और "
                             "पड़ोसियों को भी बुलाएँगे।\n")},
        {"Tamil", Lines("நேற்று நான் என் தம்பியுடன் சந்தைக்குச் சென்று காய்கறிகளும் பழங்களும் "
                        "வாங்கினேன். வெயில் அதிகமாக இருந்தது, ஆனாலும் நிறைய மக்கள் இருந்தனர்.\n"
                        "நாளை பாட்டிக்கு மதிய உணவு சமைப்போம்.\n")},
        {"Georgian", Lines("გუშინ ძმასთან ერთად ბაზარში წავედი და ბოსტნეული და ხილი ვიყიდეთ. "
                           "ძალიან ცხელოდა, მაგრამ ხალხი ბევრი იყო.\nხვალ ბებიას სადილს "
                           "მოვუმზადებთ და მეზობლებსაც დავპატიჟებთ.\n")},
        {"Hangul", Lines("어제 동생과 함께 시장에 가서 채소와 과일을 샀다. 날씨가 아주 더웠지만 "
                         "사람이 많았다.\n내일은 할머니께 점심을 만들어 드리고 이웃들도 초대할 "
                         "생각이다.\n")},
        {"simplified Chinese",
         Lines("昨天我和弟弟一起去市场买了蔬菜和水果。天气很热，但是人还是很多。\n"
               "明天我们要给奶奶做午饭，还想请邻居们一起来吃。\n")},
        {"traditional Chinese",
         Lines("昨天我和弟弟一起去市場買了蔬菜和水果。天氣很熱，但是人還是很多。\n"
               "明天我們要給奶奶做午飯，還想請鄰居們一起來吃。\n")},
        {"Cyrillic", Lines("Вчера я ходил с братом на рынок, и мы купили овощи и фрукты. Было "
                           "очень жарко, но людей всё равно было много.\nЗавтра мы приготовим "
                           "обед для бабушки и пригласим соседей.\n")},
        {"Greek", Lines("Χθες πήγα με τον αδελφό μου στην αγορά και αγοράσαμε λαχανικά και "
                        "φρούτα. Έκανε πολλή ζέστη, αλλά είχε πολύ κόσμο.\nΑύριο θα μαγειρέψουμε "
                        "μεσημεριανό για τη γιαγιά.\n")},
        {"emoji", Lines("Party tonight 🎉🎂 bring snacks 🍕🍩 and music 🎶!\n"
                        "See you at 8 😀👍 and don't forget the gift 🎁\n")},
    };
    return texts;
}

const std::vector<SampleText>& WorldNotes() {
    static const std::vector<SampleText> notes = {
        {"Thai", FromUtf8("ประชุมบ่ายสองโมง")},
        {"Arabic", FromUtf8("اتصل بأحمد غدا")},
        {"Hebrew", FromUtf8("להתקשר לדני מחר")},
        {"Devanagari", FromUtf8("कल सुबह दस बजे")},
        {"Tamil", FromUtf8("நாளை காலை பத்து மணி")},
        {"Georgian", FromUtf8("ხვალ დილით ათზე")},
        {"Hangul", FromUtf8("내일 오전 열 시 회의")},
        {"simplified Chinese", FromUtf8("明天上午十点在公司开会")},
        {"traditional Chinese", FromUtf8("明天上午十點在公司開會")},
        {"Cyrillic", FromUtf8("Позвонить Ивану завтра")},
        {"Greek", FromUtf8("Τηλεφώνησε στον Νίκο")},
        {"emoji", FromUtf8("🎉🎂🍕😀👍🎶🍩🎁🎈🥳")},
        {"Khmer", FromUtf8("សៀវភៅ​ថ្មី")},
        {"Tibetan", FromUtf8("ལྷ་ས་གྲོང་ཁྱེར།")},
        {"Myanmar", FromUtf8("ရန်ကုန်မြို့")},
        {"Sinhala", FromUtf8("ශ්‍රී ලංකාව")},
        {"Armenian", FromUtf8("Երևան քաղաք")},
        {"Ethiopic", FromUtf8("አዲስ አበባ ከተማ")},
        {"Hindi", FromUtf8("फ़ाइल खोलें")},
        {"Nepali", FromUtf8("काठमाडौं उपत्यका")},
    };
    return notes;
}

}  // namespace solvena::testing
