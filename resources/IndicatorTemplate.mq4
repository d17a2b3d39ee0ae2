
//+------------------------------------------------------------------+
//|                    QuillonBars.mq4, Copyright 2026, Quillon team |
//+------------------------------------------------------------------+
#property copyright "Quillon team"
#property link      "mailto:quillon@example.org"

#property indicator_chart_window
#property indicator_buffers 1
#property indicator_color1 Blue
//---- input parameters
extern int       Bar=1900;
extern int       LastBar=0;
extern int       cnttik = 3 ;
//---- buffers
double           ExtMapBuffer1[];

// Тики считаем, а файл котировок обновляем только на каждом N-м тике
int tick = 0 ; 

//+------------------------------------------------------------------+
//| Custom indicator initialization function                         |
//+------------------------------------------------------------------+
int init()
  {
//---- indicators
   SetIndexStyle(0,DRAW_LINE);
   SetIndexBuffer(0,ExtMapBuffer1);
//----
   return(0);
  }
//+------------------------------------------------------------------+
//| Custor indicator deinitialization function                       |
//+------------------------------------------------------------------+
int deinit()
  {
//----

//----
   return(0);
  }
//+------------------------------------------------------------------+
//| Custom indicator iteration function                              |
//+------------------------------------------------------------------+
int start()
  {
   string sName, ss1, ss2;
   int    file, NumBar, shift;
   int    Ye, Mo, Da, Ho, Mi, Se, Ti;
   int    counted_bars=IndicatorCounted();
//----
   if (counted_bars<0) return(-1);

   // считаем тики
   tick = tick + 1 ;
   if (tick <= cnttik)
     {
      // тиков ещё мало, уходим
      Print(" Tick  =  ", tick);
      Comment(tick, "/", cnttik, " |  ", Bars);
      return(0);
     }
   tick = 0 ;

   // создаём файл-разрешение
   /*
   file = FileOpen("QuillonReady.csv", FILE_CSV|FILE_WRITE, ",");
   if (file > 0)
     {
      FileWrite(file, "ready");
      FileClose(file);
     }
   */

   /*
   file = FileOpen(sName, FILE_CSV|FILE_READ, ",");
   if (file > 0)
     {
      ss1 = FileReadString(file);
      FileClose(file);
     }
   */

   // имя
   sName = Symbol() + Period() + ".csv";

   // удаляем устаревший файл
   FileDelete(sName);
   file = FileOpen(sName, FILE_CSV|FILE_WRITE, ",");

   shift=Bar+LastBar-1;
   while(shift>=0)
     {
      Ti=Time[shift]; 
      Ye = TimeYear(Ti);
      Mo = TimeMonth(Ti);
      Da = TimeDay(Ti);
      Ho = TimeHour(Ti);
      Mi = TimeMinute(Ti);
      Se = TimeSeconds(Ti);
      if ( Ho == 0 && Mi == 0  ) Mi = 1 ;

      ss1 = Ye;
      if (Mo < 10) ss1 = ss1 + "0";
      ss1 = ss1 + Mo;
      if (Da < 10) ss1 = ss1 + "0";
      ss1 = ss1 + Da;

      ss2 = "";
      if (Ho < 10) ss2 = "0";
      ss2 = ss2 + Ho;
      if (Mi < 10) ss2 = ss2 + "0";
      ss2 = ss2 + Mi;

      FileWrite(file,ss1,ss2,Open[shift],High[shift],Low[shift],Close[shift],Volume[shift]); 
      shift--;
     }

   Comment("  Save of ", ss1, " ", ss2, " is ok", "  === ", Bars);
   FileClose(file);
   Print(" Обновили  ", Bars);
//----
   return(0);
  }

